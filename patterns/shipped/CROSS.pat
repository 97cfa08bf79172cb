; Two families of lines at 45 and 135 degrees, 0.5 apart.
*CROSS, Cross-hatch
45, 0,0, 0,0.5
135, 0,0, 0,0.5
