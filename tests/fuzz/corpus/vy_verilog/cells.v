// The cells of the ZX7 family.
`timescale 1ns/1ps
module AND2 (input A, input B, output Y);
  assign Y = A & B; // module NOT_A_MODULE
endmodule
/* module HIDDEN (x); endmodule */
macromodule \OR2+ (A, B, Y);
  initial $display("module FAKE");
endmodule
module and2_alt(a, b, y); endmodule
module
  BUF (A, Y); endmodule
