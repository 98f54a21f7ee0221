#pragma once
// The optimizer's answer: three lines holding A, B and K.

#include <QByteArray>
#include <QString>

namespace wf {

// The first three lines of the result file as A, B, K: blanks and tabs around are
// trimmed, "." or "," is the decimal mark, later lines are ignored. false and a message
// naming the line when a line is missing or not a number (or the file cannot be read).
bool readResultFile(const QString& path, double& A, double& B, double& K, QString& error);
bool parseResultText(const QByteArray& text, double& A, double& B, double& K, QString& error);

} // namespace wf
