// The open-addressing index against a plain map, over random runs of
// insertions and erasures large enough to grow the array several times (or
// to have room made ahead) and to make keys share their home cells.
#include <zorpa/ZorpaFlatIndex.h>
#include <zorpa/ZorpaString.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A value that carries its key, as a unit carries its name.
struct Named {
    const std::string* name = nullptr;
    int value = 0;
};
struct NameOf {
    std::string_view operator()(const Named& named) const { return *named.name; }
};
// Few distinct hashes: keys pile up in the same cells and runs. One key in
// seven hashes to 0, which the index must not take for a free cell.
struct PoorHash {
    std::size_t operator()(std::string_view key) const
    {
        return (key.size() + static_cast<unsigned char>(key.back())) % 7;
    }
};

template <class Hash, class Equal>
void RunAgainstAMap(std::uint32_t seed, int keys, int steps)
{
    std::mt19937 random(seed);
    std::vector<std::unique_ptr<std::string>> texts;
    for (int i = 0; i < keys; ++i) texts.push_back(std::make_unique<std::string>("k" + std::to_string(i * 7919 % 100003)));
    ZorpaFlatIndex<Named, NameOf, Hash, Equal> index;
    std::map<std::string, int> plain;
    for (int step = 0; step < steps; ++step) {
        const std::string& key = *texts[random() % texts.size()];
        const std::size_t slot = index.Find(key);
        const auto found = plain.find(key);
        ASSERT_EQ(slot != index.npos, found != plain.end()) << key << " at step " << step;
        // With the hash given: the same slot, and the values told of are
        // those of the key's stored hash (0 is stored as 1), the one found last.
        const auto stored = [](std::size_t hash) { return hash != 0 ? hash : 1; };
        std::vector<const Named*> met;
        index.Prefetch(Hash()(key));
        ASSERT_EQ(index.Find(key, Hash()(key), [&](const Named& value) { met.push_back(&value); }), slot) << key;
        for (const Named* value : met) ASSERT_EQ(stored(Hash()(*value->name)), stored(Hash()(key))) << key;
        if (slot != index.npos) {
            ASSERT_FALSE(met.empty());
            ASSERT_EQ(met.back(), &index.At(slot)) << key;
        }
        if (found != plain.end()) {
            ASSERT_EQ(index.At(slot).value, found->second) << key;
        }
        if (random() % 5 < 3) {
            const int value = static_cast<int>(random() % 1000);
            const auto [at, made] = index.FindOrAdd(key, [&](Named& fresh) { fresh = Named{&key, value}; });
            ASSERT_EQ(made, found == plain.end()) << key;
            if (!made) index.At(at).value = value;
            plain[key] = value;
        } else if (found != plain.end()) {
            index.EraseSlot(slot);
            plain.erase(found);
        }
        // Now and then emptied for a new round, full or after erasures (the
        // array kept or let go).
        if (random() % 700 == 0) {
            index.ClearKeepingRoom();
            plain.clear();
            ASSERT_TRUE(index.empty());
            ASSERT_EQ(index.Find(key), index.npos) << key;
        }
        // Room made ahead, with keys in it or none: they move, all found.
        if (random() % 500 == 0) index.Reserve(random() % (2 * keys));
        ASSERT_EQ(index.size(), plain.size());
    }
    // Every key is found with its value, and no other.
    for (const auto& text : texts) {
        const std::size_t slot = index.Find(*text);
        const auto found = plain.find(*text);
        ASSERT_EQ(slot != index.npos, found != plain.end()) << *text;
        if (slot != index.npos) {
            EXPECT_EQ(index.At(slot).value, found->second);
        }
    }
    EXPECT_EQ(index.Find("absent"), index.npos);
    index.clear();
    EXPECT_TRUE(index.empty());
    index.Prefetch(Hash()(*texts.front()));
    EXPECT_EQ(index.Find(*texts.front()), index.npos);
}

}  // namespace

TEST(ZorpaFlatIndex, FindsWhatAPlainMapFindsWhileKeysComeAndGo)
{
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RunAgainstAMap<std::hash<std::string_view>, std::equal_to<>>(seed, 3000, 20000);
        RunAgainstAMap<ZorpaFoldedHash, ZorpaFoldedEqual>(seed + 10, 500, 5000);
        // Long runs of one home: the erasure must move the later keys up.
        RunAgainstAMap<PoorHash, std::equal_to<>>(seed + 20, 200, 4000);
    }
}
