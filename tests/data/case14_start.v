C IEEE 14-bus case: bus, name, voltage (p.u.), angle (degrees)
1 0 1.06 0
4 0 1.019 -10.33
9 "Bus 9" 1.056 -14.94
14 0 1.036 -16.04
