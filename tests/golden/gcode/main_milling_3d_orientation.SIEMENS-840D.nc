refused: path "曲面精加工": it is a five-axis path: its code needs rotary axes
