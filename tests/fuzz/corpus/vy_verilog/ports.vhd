entity top is
  generic (D : integer := 4);
  port (clk, rst : in bit; data : inout bit_vector(D * 2 - 1 downto 0); \ext\ : buffer bit);
end top;
