/* top */ entity top is end;
architecture r of top is begin  u : leaf port map (a /* , b */);
end;
/* open
