refused: path "ÎåÖá²àÏ³": it is a five-axis path: its code needs rotary axes
