#pragma once
// Unpacks every file of a cabinet (and of the cabinets its set runs on into)
// into a folder, giving each file the archive's modification time and its
// read-only attribute.
#include <string>

#include "core/cabinet/cabinet_types.h"

namespace quell::cabinet {

// destinationFolder ends with '/'. True when every file was written and the
// reader was released cleanly.
bool ExtractCabinet(const std::string& cabinetPath, const std::string& destinationFolder);

// The same, reporting the reader's error record (left untouched where the
// failure is not the reader's, e.g. a cabinet file that cannot be opened).
bool ExtractCabinet(const std::string& cabinetPath, const std::string& destinationFolder, CabinetError* error);

// The same through another callback table; the output files are opened with
// its open slot as well, so a wrapping table sees every open the unpack makes.
bool ExtractCabinet(const std::string& cabinetPath, const std::string& destinationFolder, CabinetError* error,
                    const CabinetIo& io);

// A cabinet's file name and the folder before it (with its trailing '/', or
// empty for a bare name), as Copy takes them.
struct CabinetLocation {
    std::string name;
    std::string folder;
};
CabinetLocation SplitCabinetPath(const std::string& cabinetPath);

// The output path for a stored name with the file's attributes, the name
// decoded to UTF-8 as DecodeStoredName reads it. Empty when the name must not
// be written: not decodable, empty, absolute, with a ".." component, or giving
// a path of more than 259 bytes. '\' in stored names is a folder separator.
std::string OutputPathFor(const std::string& destinationFolder, const char* storedName, uint16_t attributes);

// The seconds since the epoch of an MS-DOS date and time read as local time;
// false for a date or time no calendar has.
bool DosDateTimeToEpoch(uint16_t date, uint16_t time, long long* seconds);

}  // namespace quell::cabinet
