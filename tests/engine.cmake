# Tests of the JPEG/EXIF engine.
kelvaro_add_test(tst_exifreader SOURCES tst_exifreader.cpp LIBS kelvaro_exif)
kelvaro_add_test(tst_headerdates SOURCES tst_headerdates.cpp LIBS kelvaro_exif)
