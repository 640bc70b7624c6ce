library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std_unsigned.all;
entity decoder is
  port (m : in std_logic_vector(15 downto 0); s : out std_logic_vector(2 downto 0));
end entity decoder;
architecture rtl of decoder is
  constant mask : std_logic_vector(11 downto 0) := 12UX"F--";
begin
  s(0) <= '1' when std_match(m, x"F---") else '0';
  s(1) <= '1' when std_match(m, B"1010_----_----_0000") else '0';
  s(2) <= '1' when m(7 downto 0) = 8SX"-F" or m =X"00--" else '0';
  u1 : entity work.leaf port map (a => s(0));
  u2 : entity work.leaf port map (a => o"7--" & d"255");
  u3 : leaf port map (a => ax"F--");
end architecture rtl;
entity open_literal is end; architecture a of open_literal is begin y <= x"F--
; u : entity work.leaf port map (a); end;
