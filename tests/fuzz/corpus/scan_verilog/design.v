`timescale 1ns/1ps
`include "defs.vh"
`include <sub/bus.vh>
`define WIDTH 8
`define MAX(a, b) \
   ((a) > (b) ? (a) : (b))
module top #(parameter W = `WIDTH) (input [W-1:0] a, output reg [7:0] b, inout c);
  wire [7:0] s;
  mid #(.W(W)) u1 (.a(a), .b(s)), u2 (.a(s), .b());
  and g1 (c, a[0], a[1]);
  \escaped+name e1 (.x(a));
  assign s = a;
  assign c = a & b;
`ifdef FAST
  fast f (.a(a));
`elsif SLOW
  slow f (.a(a));
`else
  top self (.a(a));
`endif
  always @(posedge a[0]) begin : blk
    if (a) b <= 1; else b <= 0;
    $display("say \"hi\";");
  end
  generate if (1) begin mid g (.a(a)); end endgenerate
endmodule
module mid(input a, output b); /* block
comment */ leaf l (a, b); endmodule
