#include <txprj/Txprj.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Files(const TxprjData& data)
{
    std::vector<std::string> files;
    if (data.GetAlgo()) files.push_back("algo " + data.GetAlgo()->GetFilename());
    for (auto device = data.GetDeviceMgr().GetDevicesBegin(); device != data.GetDeviceMgr().GetDevicesEnd(); ++device)
        files.push_back(device->GetFilename());
    return files;
}

int Parse(const std::string& text, TxprjData& data, const std::string& encoding = "UTF-8")
{
    return TxprjReader::Parse(text, encoding, "/prj", data, nullptr);
}

}  // namespace

TEST(TxprjReader, BadProjectsLeaveNothingBehind)
{
    TxprjData data;
    EXPECT_EQ(Parse("", data), TxprjReader::NotAProject);
    EXPECT_EQ(Parse("TXPRJ 2\nALGO x\n", data), TxprjReader::NotAProject);
    EXPECT_EQ(Parse("ALGO x\n", data), TxprjReader::NotAProject);
    int line = 0;
    EXPECT_EQ(TxprjReader::Parse("TXPRJ 1\nALGO x\nALGO y\n", "UTF-8", "", data, &line), TxprjReader::BadLine);
    EXPECT_EQ(line, 3);
    TxprjData empty;
    EXPECT_EQ(TxprjReader::Parse("TXPRJ 1\nDEVICE\n", "UTF-8", "", empty, &line), TxprjReader::BadLine);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(Parse("TXPRJ 1\n", data, "EBCDIC"), TxprjReader::UnknownEncoding);
    // Latin-1 names reach the file system as UTF-8.
    TxprjData latin;
    ASSERT_EQ(Parse("TXPRJ 1\nDEVICE /d\xe9p.stp\n", latin, "LATIN1"), TxprjReader::Ok);
    EXPECT_EQ(Files(latin), std::vector<std::string>{"/d\xc3\xa9p.stp"});
}
