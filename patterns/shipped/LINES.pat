; Parallel lines at 45 degrees, 0.5 apart.
*LINES, Parallel lines
45, 0,0, 0,0.5
