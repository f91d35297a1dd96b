// The external command table: any OutApp_Sub.ini loads, saves and loads to
// the same table; the Alt list is built for any names.

#include "FuzzSupport.h"
#include "external/CommandTable.h"
#include "platform/IniFile.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace kestrovan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  platform::IniFile ini = platform::IniFile::fromBytes(bytes);
  const external::CommandTable table = external::loadCommandTable(ini);
  const std::string before = ini.toBytes();
  external::saveCommandTable(table, ini);
  // Saving what was loaded only adds the keys that were missing.
  platform::IniFile fresh = platform::IniFile::fromBytes(ini.toBytes());
  const external::CommandTable again = external::loadCommandTable(fresh);
  fuzz::check(again.EditApp == table.EditApp, "EditApp did not come back");
  for (size_t i = 0; i < table.entries.size(); ++i) {
    fuzz::check(again.entries[i].application == table.entries[i].application &&
                    again.entries[i].useArguments == table.entries[i].useArguments &&
                    again.entries[i].name == table.entries[i].name,
                "an entry did not come back", table.entries[i].application);
  }
  external::saveCommandTable(again, fresh);
  fuzz::check(fresh.toBytes() == ini.toBytes(), "a second save changed the file");
  (void)external::altListTexts(table);
  for (int c = 0; c < 256; ++c)
    (void)table.entry(static_cast<char>(c));
  (void)before;
  return 0;
}
