# The typed addresses of a real Chromium profile, read as the address bar reads them.
quell_add_e2e(browser_history browser_history.sh $<TARGET_FILE:quellkit>)
