#include "frontend/qt/menu_mnemonics.h"

#include <QAction>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <algorithm>
#include <vector>

namespace frontend {
namespace {

struct Word {
  int start = 0;
  int length = 0;
  QString key;  // lower case
};

std::vector<Word> WordsOf(const QString& caption) {
  std::vector<Word> words;
  for (int k = 0; k < caption.size();) {
    if (!caption[k].isLetterOrNumber()) {
      ++k;
      continue;
    }
    Word word;
    word.start = k;
    while (k < caption.size() && caption[k].isLetterOrNumber()) ++k;
    word.length = k - word.start;
    word.key = caption.mid(word.start, word.length).toLower();
    words.push_back(word);
  }
  return words;
}

// The positions of `caption` worth a mnemonic, best first.
std::vector<int> Candidates(const QString& caption, const QMap<QString, int>& wordCounts) {
  std::vector<Word> words = WordsOf(caption);
  std::stable_sort(words.begin(), words.end(),
                   [&](const Word& a, const Word& b) { return wordCounts.value(a.key) < wordCounts.value(b.key); });
  std::vector<int> positions;
  for (const Word& word : words) {
    for (int k = 0; k < word.length; ++k) positions.push_back(word.start + k);
  }
  return positions;
}

void Assign(const QList<QAction*>& actions) {
  QList<QAction*> items;
  QStringList captions;
  for (QAction* action : actions) {
    if (action->isSeparator() || action->text().isEmpty()) continue;
    items << action;
    captions << action->text();
  }
  const QStringList marked = WithMnemonics(captions);
  for (int k = 0; k < items.size(); ++k) {
    if (marked[k] != items[k]->text()) items[k]->setText(marked[k]);
    if (QMenu* submenu = items[k]->menu()) {
      submenu->setTitle(marked[k]);
      AssignMnemonics(*submenu);
    }
  }
}

}  // namespace

QChar MnemonicOf(const QString& caption) {
  for (int k = 0; k + 1 < caption.size(); ++k) {
    if (caption[k] != '&') continue;
    if (caption[k + 1] == '&') {
      ++k;
      continue;
    }
    return caption[k + 1].toLower();
  }
  return QChar();
}

QStringList WithMnemonics(const QStringList& captions) {
  QSet<QChar> taken;
  for (const QString& caption : captions) {
    const QChar mnemonic = MnemonicOf(caption);
    if (!mnemonic.isNull()) taken.insert(mnemonic);
  }
  // How many captions hold each word: a word they all share ("Importar") tells none apart.
  QMap<QString, int> wordCounts;
  for (const QString& caption : captions) {
    QSet<QString> seen;
    for (const Word& word : WordsOf(caption)) {
      if (!seen.contains(word.key)) ++wordCounts[word.key];
      seen.insert(word.key);
    }
  }
  QStringList result;
  for (const QString& caption : captions) {
    if (!MnemonicOf(caption).isNull()) {
      result << caption;
      continue;
    }
    QString marked = caption;
    for (const int position : Candidates(caption, wordCounts)) {
      const QChar letter = caption[position].toLower();
      if (taken.contains(letter)) continue;
      taken.insert(letter);
      marked = caption;
      marked.insert(position, '&');
      break;
    }
    result << marked;
  }
  return result;
}

void AssignMnemonics(QMenuBar& bar) { Assign(bar.actions()); }

void AssignMnemonics(QMenu& menu) { Assign(menu.actions()); }

}  // namespace frontend
