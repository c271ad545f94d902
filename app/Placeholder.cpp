namespace zw_placeholder { int unused = 0; }
