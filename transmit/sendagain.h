// Sending the frame table's frames again: the question asked before every
// row of a long table goes out, which tests replace to answer without a
// user, as they replace the file dialogs.
#ifndef SENDAGAIN_H
#define SENDAGAIN_H

#include <QString>

#include <functional>

class QWidget;

namespace sendagain {

// Asks a yes-or-no question; answers true for yes.
using Question = std::function<bool(QWidget *parent, const QString &title, const QString &text)>;
// Replaces the standard question box; null brings it back.
void replaceQuestion(Question question);
bool ask(QWidget *parent, const QString &title, const QString &text);

} // namespace sendagain

#endif // SENDAGAIN_H
