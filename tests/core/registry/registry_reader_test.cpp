#include "core/registry/registry_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "core/os/file_system.h"

using namespace quell::registry;

namespace {

std::shared_ptr<RegistryFile> parse(const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    return std::make_shared<RegistryFile>(RegistryFile::Parse(bytes));
}

std::shared_ptr<RegistryFile> parseUtf16(const std::u16string& text) {
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return std::make_shared<RegistryFile>(RegistryFile::Parse(bytes));
}

const char* kExport =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs]\r\n"
    "\"url1\"=\"http://example.com/\"\r\n"
    "\"url2\"=\"C:\\\\Quoted \\\"dir\\\"\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
    "\"Favorites\"=\"/home/u/Favorites\"\r\n"
    "\"Count\"=dword:fffffffe\r\n"
    "\"Blob\"=hex:01,02,03\r\n"
    "\"Multi\"=hex(7):61,00,00\r\n"
    "\"Expand\"=hex(2):25,54,45,4d,50,25,\\\r\n"
    "  00\r\n"
    "@=\"default\"\r\n"
    "[HKEY_LOCAL_MACHINE\\Software]\r\n"
    "\"Top\"=\"machine\"\r\n"
    "[HKEY_CLASSES_ROOT]\r\n"
    "\"RootValue\"=\"at the root\"\r\n";

struct ReadCase {
    const char* name;
    int root;
    const char* path;
    bool ok;
    const char* text;
};

}  // namespace

TEST(RegistryReader, ReadValueConvertsByType) {
    RegistryReader reader(parse(kExport), "");
    const ReadCase cases[] = {
        {"string", 2, "Software\\Microsoft\\Internet Explorer\\TypedURLs\\url1", true, "http://example.com/"},
        {"escapes", 2, "Software\\Microsoft\\Internet Explorer\\TypedURLs\\url2", true, "C:\\Quoted \"dir\""},
        {"names ignore case", 2, "SOFTWARE\\microsoft\\internet explorer\\typedurls\\URL1", true,
         "http://example.com/"},
        {"dword is signed decimal", 2, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\Count",
         true, "-2"},
        {"expandable string is not expanded", 2,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\Expand", true, "%TEMP%"},
        {"binary", 2, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\Blob", false,
         "Binary data"},
        {"other types", 2, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\Multi", false,
         "Can't convert to string"},
        {"default value", 2, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\", true,
         "default"},
        {"local machine", 3, "Software\\Top", true, "machine"},
        {"value directly under a root", 1, "RootValue", true, "at the root"},
        {"missing value keeps the text", 2, "Software\\Microsoft\\Internet Explorer\\TypedURLs\\url9", false,
         "unchanged"},
        {"missing key keeps the text", 2, "Software\\Nobody\\x", false, "unchanged"},
        {"unknown root", 4, "Software\\Top", false, "unchanged"},
        {"root zero", 0, "Software\\Top", false, "unchanged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "unchanged";
        EXPECT_EQ(reader.ReadValue(c.root, c.path, text), c.ok);
        EXPECT_EQ(text, c.text);
    }
}

TEST(RegistryReader, ReadStringBuildsTheCompanyPath) {
    RegistryReader reader(parse(kExport), "Microsoft");
    std::string folder;
    EXPECT_TRUE(reader.ReadString("Windows\\CurrentVersion\\Explorer\\Shell folders", "Favorites", folder));
    EXPECT_EQ(folder, "/home/u/Favorites");

    RegistryReader noCompany(parse("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Tool]\n\"v\"=\"1\"\n"), "");
    std::string v;
    EXPECT_TRUE(noCompany.ReadString("Tool", "v", v));
    EXPECT_EQ(v, "1");
}

TEST(RegistryReader, ReadsVersion5ExportsInUtf16) {
    auto file = parseUtf16(
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
        u"Explorer\\Main]\r\n"
        u"\"Start Page\"=\"http://\u00e9xample.com/\"\r\n"
        u"\"Wide\"=hex(2):25,00,41,00,25,00,00,00\r\n");
    RegistryReader reader(file, "");
    std::string text;
    EXPECT_TRUE(reader.ReadValue(2, "Software\\Microsoft\\Internet Explorer\\Main\\Start Page", text));
    EXPECT_EQ(text, "http://\xC3\xA9xample.com/");
    EXPECT_TRUE(reader.ReadValue(2, "Software\\Microsoft\\Internet Explorer\\Main\\Wide", text));
    EXPECT_EQ(text, "%A%");
}

TEST(RegistryReader, ValuesLargerThanTheReadBufferFail) {
    std::string longText(300, 'x');
    RegistryReader reader(parse("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"" + longText + "\"\n\"w\"=\"" +
                                std::string(255, 'y') + "\"\n"),
                          "");
    std::string text = "unchanged";
    EXPECT_FALSE(reader.ReadValue(2, "K\\v", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(reader.ReadValue(2, "K\\w", text));  // 255 characters and the terminator fit
    EXPECT_EQ(text.size(), 255u);
}

TEST(RegistryFile, LaterDefinitionsOverrideAndDeletionsAreIgnored) {
    auto file = parse(
        "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"first\"\n[HKCU\\K]\n\"v\"=\"second\"\n\"gone\"=-\n"
        "\"bad\"=dword:123456789\n[-HKEY_CURRENT_USER\\Removed]\n\"x\"=\"y\"\n");
    auto v = file->Find("HKEY_CURRENT_USER\\K", "V");
    ASSERT_TRUE(v);
    EXPECT_EQ(std::string(v->data.begin(), v->data.end() - 1), "second");
    EXPECT_FALSE(file->Find("HKEY_CURRENT_USER\\K", "gone"));
    EXPECT_FALSE(file->HasKey("HKEY_CURRENT_USER\\Removed"));
    EXPECT_FALSE(file->Find("HKEY_CURRENT_USER\\K", "bad"));
}

TEST(RegistryFile, FilePastTheSizeCapIsAnEmptyRegistry) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("quell-registry-cap-" + std::to_string(::getpid()) + ".reg"))
            .string();
    for (const size_t size : {quell::os::kMaxTextFileBytes, quell::os::kMaxTextFileBytes + 1}) {
        SCOPED_TRACE(size);
        std::ofstream(path, std::ios::binary) << "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"1\"\r\n";
        std::filesystem::resize_file(path, size);
        EXPECT_EQ(RegistryFile::Load(path).HasKey("HKEY_CURRENT_USER\\K"), size == quell::os::kMaxTextFileBytes);
    }
    std::filesystem::remove(path);
}

TEST(RegistryFile, MissingFileIsAnEmptyRegistry) {
    RegistryReader reader(std::make_shared<RegistryFile>(RegistryFile::Load("/nonexistent/registry.reg")), "");
    std::string text = "unchanged";
    EXPECT_FALSE(reader.ReadValue(2, "Software\\x", text));
    EXPECT_EQ(text, "unchanged");
}
