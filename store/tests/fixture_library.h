#pragma once
// A small library file and temporary folders for the store's tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/dao/database.h"
#include "store/library_database.h"

namespace store_test {

// Step and event templates chosen to meet every matching rule once:
// commas, the OS/OC waiver, !TRK, "[" in a prototype, a middle literal that
// also stands in the leading one, templates without operands, two matches.
inline const char kLibrarySql[] = R"SQL(
CREATE TABLE Parameters (Name TEXT(8), DT TEXT, Type TEXT, Format TEXT, units TEXT, fullname TEXT,
                         id INTEGER, rw TEXT);
INSERT INTO Parameters VALUES ('PPG', 'SU', 'RHO TAU PHI', '0', 'A/A', 'Position gain', 1, 'Y');
INSERT INTO Parameters VALUES ('IRMS', 'SM', 'RHO TAU', '0.00', 'A', 'RMS current', 2, 'Y');
INSERT INTO Parameters VALUES ('EPPR', 'SF', 'RHO TAU PHI PSI', '0', 'counts', 'Encoder lines', 3, 'Y');
INSERT INTO Parameters VALUES ('VER', 'OT', 'RHO TAU PHI PSI', '0.00', '', 'Firmware version', 4, 'N');

CREATE TABLE Steps (id INTEGER, GUI TEXT, Prototype TEXT, Typ TEXT, des TEXT, P1 TEXT, P2 TEXT);
INSERT INTO Steps VALUES (1, 'Move to ~1 ~u', 'MA~1', 'M', 'Absolute move', 'E', '');
INSERT INTO Steps VALUES (2, 'Move ~1 ~u at ~2 ~u/s', 'MI~1,~2', 'M', 'Relative move', 'E', 'E');
INSERT INTO Steps VALUES (3, '~1:', '@~1', 'L', 'Label', 'L', '');
INSERT INTO Steps VALUES (4, 'Output ~1 on', 'OS~1', 'O', 'Output on', 'N', '');
INSERT INTO Steps VALUES (5, 'Track with ~1 and ~2', '!TRK~1,~2', 'M', 'Track pair', 'E', 'E');
INSERT INTO Steps VALUES (6, 'Track ~1', '!TRK~1', 'M', 'Track', 'E', '');
INSERT INTO Steps VALUES (7, 'Element ~1 := ~2', 'A[~1]=~2', 'V', 'Array element', 'E', 'E');
INSERT INTO Steps VALUES (8, 'Goto ~1 when ~2', 'GOTO~1GO~2', 'J', 'Conditional jump', 'L', 'E');
INSERT INTO Steps VALUES (9, 'Velocity ~1', 'V~1', 'V', 'Velocity', 'E', '');
INSERT INTO Steps VALUES (10, 'Velocity again ~1', 'V~1', 'V', 'Never reached', 'E', '');
INSERT INTO Steps VALUES (11, 'Motion ~1', 'M~1', 'M', 'Any motion', 'E', '');
INSERT INTO Steps VALUES (12, 'End', 'END', 'E', 'End of program', '', '');
INSERT INTO Steps VALUES (13, 'Wait ~1 ms', 'WT(~1)', 'W', 'Wait', 'E', '');
INSERT INTO Steps VALUES (14, 'Output ~1 off', 'OC~1', 'O', 'Output off', 'N', '');
INSERT INTO Steps VALUES (15, 'Sweep ~1 to ~2', '!SWE~1,~2', 'M', 'Sweep pair', 'E', 'E');
INSERT INTO Steps VALUES (16, 'Sweep ~1', '!SWE~1', 'M', 'Sweep', 'E', '');

CREATE TABLE Threads (id INTEGER, GUI TEXT, Prototype TEXT, des TEXT, P1 TEXT, P2 TEXT);
INSERT INTO Threads VALUES (1, 'When input ~1 is on, run ~2', 'IN~1,~2', 'Input event', 'N', 'L');
INSERT INTO Threads VALUES (2, 'Every ~1 ms, run ~2', 'TM~1,~2', 'Timer event', 'E', 'L');
INSERT INTO Threads VALUES (3, 'Flag ~1 set', 'F[~1]', 'Flag event', 'N', '');
INSERT INTO Threads VALUES (4, 'Stop past ~1 ~u', 'POS>~1', 'Position event', 'E', '');
INSERT INTO Threads VALUES (5, 'Fault', 'FLT', 'Fault event', '', '');

CREATE TABLE Motors (Type TEXT, APN TEXT, inertia REAL, kt_bspd REAL, P1 TEXT, P2 TEXT, p3 TEXT, p4 TEXT,
                     p5 TEXT, ic REAL, feedp INTEGER, mpol INTEGER, feedback TEXT);
INSERT INTO Motors VALUES ('RHO', 'M-100', 0.5, 0.1, '', '', '', '', '', 2.5, 2000, 8, 'ENC');

CREATE TABLE IO (Name TEXT, fullname TEXT, id INTEGER, Bit INTEGER, Kill TEXT);
INSERT INTO IO VALUES ('HOME', 'Home input', 1, 0, '');
)SQL";

inline void WriteLibrary(const std::string& path) {
  auto db = talvero::dao::Database::Create(path);
  ASSERT_TRUE(db.ok()) << db.error;
  talvero::dao::Status s = (*db)->Execute(kLibrarySql);
  ASSERT_TRUE(s) << s.error;
}

// Writes the fixture library at path and opens it as the program does.
inline void OpenLibrary(const std::string& path, std::unique_ptr<LibraryDatabase>& lib) {
  WriteLibrary(path);
  if (::testing::Test::HasFatalFailure()) return;
  auto opened = LibraryDatabase::Open(path);
  ASSERT_TRUE(opened.ok()) << opened.error;
  lib = std::move(*opened);
}

// A fresh folder per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("Store_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace store_test
