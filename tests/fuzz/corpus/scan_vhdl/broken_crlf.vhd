entity e is
  port (a : in bit;
end;
\open ident
"open string
