# The packed program unpacks its skin on first start (quellkit skin pack).
quell_add_e2e(packed_start packed_start.sh $<TARGET_FILE:quellcore> $<TARGET_FILE:quellkit> ${QUELL_TEST_DATA_DIR}/skin)
