"""The drawing of the program's pictures, one module per picture (see tools/make_art.py)."""
