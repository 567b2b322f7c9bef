#1200
a~
0 a0 1
~
line
