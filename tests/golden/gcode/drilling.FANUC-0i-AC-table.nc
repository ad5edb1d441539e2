refused: path "×ê¿×2 ÎŞ²ÎÊı": its holes have no drilling parameters
