library ieee, mylib;
use ieee.std_logic_1164.all;
use work.pkg.all;
use mylib.types.all;
-- entity hidden is
entity mid is
  generic (w : integer := 8);
  port (a, b : in std_logic_vector(w - 1 downto 0); c : out bit; d : inout std_logic);
end entity mid;
architecture rtl of mid is
  signal s : std_logic_vector(7 downto 0) := (others => '0');
  attribute keep : string;
begin
  u1 : leaf port map (x => a, y => s);
  u2 : entity work.leaf(rtl) generic map (w => 4) port map (a, open);
  u3 : component other port map (c);
  p1 : process (a) begin
    if a'event and a = "0;1" then s <= a - b; end if;
  end process;
  g : for i in 0 to 3 generate u : leaf port map (a(i)); end generate;
end architecture rtl;
