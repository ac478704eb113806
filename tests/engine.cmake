# Tests of the JPEG/EXIF engine and the file formats.
kelvaro_add_test(tst_exifreader SOURCES tst_exifreader.cpp LIBS kelvaro_exif)
kelvaro_add_test(tst_datecodec SOURCES tst_datecodec.cpp LIBS kelvaro_formats)
kelvaro_add_test(tst_jpegformat SOURCES tst_jpegformat.cpp LIBS kelvaro_formats)
kelvaro_add_test(tst_formats SOURCES tst_formats.cpp LIBS kelvaro_formats)
