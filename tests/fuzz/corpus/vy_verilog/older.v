module m(a, b);
  parameter N = 3;
  input [N:0] a;
  output b;
  task t; input x; endtask
endmodule
