# A packed program whose cabinet and description file use code page 932 names.
quell_add_e2e(legacy_names legacy_names.sh $<TARGET_FILE:quellcore> ${QUELL_TEST_DATA_DIR}/skin)
