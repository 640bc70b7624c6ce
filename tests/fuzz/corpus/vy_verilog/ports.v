module top #(parameter W = 8) (input clk, input [W-1:0] a, output reg [3:0] q, inout [0:1] io);
endmodule
