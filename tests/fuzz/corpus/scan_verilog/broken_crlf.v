module m;
  leaf u (.a(a)
`include "open
/* never closed