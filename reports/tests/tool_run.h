#pragma once
// Runs an outside checking tool (pdfinfo, pdftotext, unrtf) and gives its output.
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <optional>

// nullopt when the tool is not installed.
inline std::optional<QString> RunTool(const QString& tool, const QStringList& args) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
  QProcess p;
  p.start(tool, args);
  p.waitForFinished(20000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The page count pdfinfo reads, -1 when it reads none.
inline int PdfPages(const QString& pdf) {
  const std::optional<QString> info = RunTool("pdfinfo", {pdf});
  if (!info) return -1;
  for (const QString& line : info->split('\n'))
    if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
  return -1;
}
