# The string grid's cell glyphs (drawn by controls/grid/glyphs/make_glyphs.py).
vel_add_resources(vel_controls TYPE BITMAP FILES
  VURCHK01=controls/grid/glyphs/vurchk01.bmp
  VURCHK02=controls/grid/glyphs/vurchk02.bmp
  VURCHK03=controls/grid/glyphs/vurchk03.bmp
  VURCHK04=controls/grid/glyphs/vurchk04.bmp
  VURCHK05=controls/grid/glyphs/vurchk05.bmp
  VURCHK06=controls/grid/glyphs/vurchk06.bmp
  VURCHK07=controls/grid/glyphs/vurchk07.bmp
  VURCHK08=controls/grid/glyphs/vurchk08.bmp
  VURRAD01=controls/grid/glyphs/vurrad01.bmp
  VURRAD02=controls/grid/glyphs/vurrad02.bmp
  VURRAD03=controls/grid/glyphs/vurrad03.bmp
  VURRAD04=controls/grid/glyphs/vurrad04.bmp
  VURRAD05=controls/grid/glyphs/vurrad05.bmp
  VURRAD06=controls/grid/glyphs/vurrad06.bmp
  VURRAD07=controls/grid/glyphs/vurrad07.bmp
  VURRAD08=controls/grid/glyphs/vurrad08.bmp
  VURLEAFOPEN=controls/grid/glyphs/vurleafopen.bmp
  VURLEAFCLOSE=controls/grid/glyphs/vurleafclose.bmp
  XPNODEO=controls/grid/glyphs/xpnodeo.bmp
  XPNODEC=controls/grid/glyphs/xpnodec.bmp)
