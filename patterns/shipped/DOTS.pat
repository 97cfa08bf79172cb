; Dots on a 0.5 grid.
*DOTS, Grid of dots
0, 0,0, 0,0.5, 0,-0.5
