#pragma once
// Every quellkit subcommand takes the arguments after its own name and
// returns the exit status: 0 success, 1 reported failure, 2 usage error.
#include <string>
#include <vector>

namespace quellkit {

using Args = std::vector<std::string>;

int runIni(const Args& args);
int runSkin(const Args& args);       // describe, check
int runSkinPack(const Args& args);   // skin pack SKINDIR PROGRAM OUT
int runSkinCheck(const Args& args);  // skin check SKINDIR
int runSkinDeb(const Args& args);    // skin deb SKINDIR PROGRAM OUT.deb [options]
int runSkinMap(const Args& args);    // skin map SKINDIR OUT.png
int runSkinNew(const Args& args);    // skin new NAME DIR
int runReg(const Args& args);
int runCab(const Args& args);
int runBmp(const Args& args);
int runGif(const Args& args);
int runMidi(const Args& args);
int runFavorites(const Args& args);
int runHistory(const Args& args);  // the address bar's list and its source

// Prints "error: <reason>" on standard error and returns 1.
int fail(const std::string& reason);
// Prints the usage line on standard error and returns 2.
int usage(const std::string& line);

}  // namespace quellkit
