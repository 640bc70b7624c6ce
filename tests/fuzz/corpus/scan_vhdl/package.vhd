package pkg is
  component leaf is generic (n : integer := 1); port (x : in bit; y : out bit);
  end component leaf;
  component \odd comp\ port (a : in bit); end component;
  type word is array (7 downto 0) of bit;
end package pkg;
package body pkg is
end package body;
architecture rtl of elsewhere is begin x <= y @ z; end;
