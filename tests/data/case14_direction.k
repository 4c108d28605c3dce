C IEEE 14-bus case: bus, name, dispatch factor, dP, dQ (p.u. per unit of lambda), Pmax, Smax, Vmax, Vmin, dPz
1 "Bus 1" 1 0 0 3.4
2 0 0.5 0.217 0.127 0.6 0.8 1.1 0.9
3 0 0 0.942 0.19 0
4 0 0 0.478 -0.039 0 0 1.1 0.9 0.01
9 'Bus 9' 0 0.295 0.166 0
14 0 0 0.149 0.05 0
