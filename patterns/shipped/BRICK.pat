; Courses 0.5 high, bricks 1 long, joints staggered by half a brick.
*BRICK, Brick courses
0, 0,0, 0,0.5
90, 0,0, 0.5,0.5, 0.5,-0.5
