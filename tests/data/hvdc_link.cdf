 01/02/26 Hand-made case        100.0 2026 W HVDC link
BUS DATA FOLLOWS
   1 B1            1  1  3 1.0000   0.00                                     100.00 1.0500                                    0
   2 B2            1  1  0 1.0000   0.00    20.00     10.00                  100.00                                           0
   3 B3            2  1  2 1.0000   0.00                                     100.00 1.0200                                    0
   4 B4            2  1  0 1.0000   0.00    60.00     20.00                  100.00                                           0
-999
BRANCH DATA FOLLOWS
   1    2  0  1 1 0  0.000000  0.100000   0.00000     0
   2    3  1  1 1 0  0.000000  0.100000   0.00000     0
   3    4  0  1 1 0  0.000000  0.100000   0.00000     0
-999
INTERCHANGE DATA FOLLOWS
 1    1                12.5                  North
 2    3               -12.5
-9
TIE LINES FOLLOW
   3         2      1
-999
BD REC1    GROUND  B2                 15.0001.0000.0000.9001.100 2.090.0 0.0
BZ REC1    GROUND  B2           ALID 15.00300.00R
BD INV1    GROUND  B4                 15.0001.0000.0000.9001.10015.0180. 0.0
BZ INV1    GROUND  B4           GAVD 18.00125.00I
LD REC1    INV1               5.00 50.00
END OF DATA
