 01/02/26 Hand-made case        100.0 2026 W Two buses
BUS DATA FOLLOWS                      2 ITEMS
   1 Slack         1  1  3 1.0000   0.00     0.00     0.00     0.00    0.00  100.00 1.0000    0.00    0.00  0.0000  0.0000    0
   2 Load          1  1  0 1.0000   0.00    50.00     0.00     0.00    0.00  100.00 1.0000    0.00    0.00  0.0000  0.0000    0
-999
BRANCH DATA FOLLOWS                   1 ITEMS
   1    2  0  1 1 0  0.000000  0.500000   0.00000     0
-999
END OF DATA
