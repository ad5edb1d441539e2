refused: path "ŒÂ÷·≤‡œ≥": its tool axis turns away from the machine's Z (0.045439, 0.000000, 0.998967): its code needs rotary axes
