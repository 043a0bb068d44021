#pragma once
// The read-only library: the parameter, step type, event type, motor and I/O
// catalogues, each with one table recordset that the codecs and views share.
#include <memory>
#include <string>

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"

class LibraryDatabase {
 public:
  // Opens the file read-only with its five recordsets; the reason when a file
  // or a table is missing.
  static talvero::dao::Result<std::unique_ptr<LibraryDatabase>> Open(const std::string& path);
  void Close();

  std::unique_ptr<talvero::dao::Database> LibraryDB;
  std::unique_ptr<talvero::dao::Recordset> ParametersRS;
  std::unique_ptr<talvero::dao::Recordset> MotorsRS;
  std::unique_ptr<talvero::dao::Recordset> StepsRS;
  std::unique_ptr<talvero::dao::Recordset> ThreadsRS;
  std::unique_ptr<talvero::dao::Recordset> IORS;
};
