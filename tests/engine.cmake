# Tests of the JPEG/EXIF engine.
kelvaro_add_test(tst_exifreader SOURCES tst_exifreader.cpp LIBS kelvaro_exif)
