; Dashes 1 long with gaps of 0.5; each line starts half a period on.
*DASHES, Dashed lines
0, 0,0, 0.75,0.5, 1,-0.5
