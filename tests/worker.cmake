kelvaro_add_test(tst_picturefile SOURCES tst_picturefile.cpp LIBS kelvaro_worker)
kelvaro_add_test(tst_folderwalk SOURCES tst_folderwalk.cpp LIBS kelvaro_worker)
kelvaro_add_test(tst_pathbytes SOURCES tst_pathbytes.cpp LIBS kelvaro_worker)
kelvaro_add_test(tst_journal SOURCES tst_journal.cpp LIBS kelvaro_worker)
