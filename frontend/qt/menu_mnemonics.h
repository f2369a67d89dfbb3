// Menus a user can work from the keyboard: every menu and every item of a menu gets a
// mnemonic ("&") that no other item of the same menu has.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class QMenu;
class QMenuBar;

namespace frontend {

// The mnemonic of a caption, lower case: the character after a single "&"; a null QChar when
// there is none ("&&" is a plain "&").
QChar MnemonicOf(const QString& caption);

// The captions of one menu's items, each with a mnemonic no other has (letter case ignored).
// A caption that has one keeps it; the others take the first free letter or digit of their
// rarest word among the items (its initial first), then of the next rarest, and so on: the
// word that tells an item from the others gives its mnemonic ("Importar de &Clip...").
// A caption left with no free character stays as it is.
QStringList WithMnemonics(const QStringList& captions);

// Gives the menus of the bar, the items of each and those of their submenus their mnemonics.
void AssignMnemonics(QMenuBar& bar);
void AssignMnemonics(QMenu& menu);

}  // namespace frontend
