// A "version.dll" planted beside the program must not be the one the report loads: the
// program runs elevated. Run with WINEDLLOVERRIDES=version=n,b, so that Wine searches the
// program's folder first, as Windows does, instead of preferring its built-in library.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "check/version_report.h"
#include "platform/win32_owner.h"
#include "support/pe_builder.h"
#include "support/temp_dir.h"

namespace {

TEST(PlantedDllTest, ReportComesFromTheSystemLibrary) {
  TempDir dir;
  const StringTable table = {"040904B0", {{"ProductName", u"Sample Hunter III"}}};
  writeFile(dir.file("sh3.exe"), peImageBytes(versionBlockBytes({{{0x0409, 0x04B0}}, {table}})));

  const std::string report = versionReport(dir.file("sh3.exe"), kProductName, true);
  EXPECT_EQ(report, "ProductName:\tSample Hunter III");
  EXPECT_EQ(report.find("PLANTED"), std::string::npos);

  // The full path in the system folder, where the loader lacks the search flag, is the
  // system's library too.
  {
    const Library system = loadFromSystemFolder("version.dll");
    ASSERT_TRUE(system);
    EXPECT_EQ(GetProcAddress(system.get(), "PlantedMarker"), nullptr);
  }

  // The plant is real: a load by bare name with the default search finds it.
  const HMODULE unguarded = LoadLibraryA("version.dll");
  ASSERT_NE(unguarded, nullptr);
  EXPECT_NE(GetProcAddress(unguarded, "PlantedMarker"), nullptr)
      << "the planted version.dll was not found by the default search; the test proves nothing";
  FreeLibrary(unguarded);
}

}  // namespace
