#pragma once

#include <functional>

class QDialog;
class QString;

// Acts on the next modal dialog once its exec() shows it. A dialog the action leaves open is
// rejected and the test fails, so a broken check cannot hang the run.
void WhenModalShown(const std::function<void(QDialog*)>& act);
// Answers a file dialog with `path` in its name box and Enter.
void AnswerFileDialog(QDialog* dialog, const QString& path);
