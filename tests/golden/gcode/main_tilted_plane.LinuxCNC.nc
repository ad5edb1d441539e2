refused: path "ÇãĞ±ÃæÏ³": its coordinate system is tilted against the machine's (Z axis 0.000000, -0.707107, 0.707107): it needs rotary axes
