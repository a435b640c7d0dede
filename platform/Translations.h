// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTranslator>

#include "platform/Language.h"

namespace platform {

// The program's texts in the chosen language, and Qt's own (file dialogs, standard buttons, context
// menus). German is the source: German needs no file of ours, only Qt's. Ours are read only from
// folder (the data folder's "translations", installed or beside the executable), never from a
// folder or file other users may write; a file that cannot be used leaves the German texts, with one
// warmap.settings line naming it. Qt's come from qtFolder (QLibraryInfo's translations path).
class Translations {
public:
    Translations(QString folder, QString qtFolder);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // Loads language's texts and, once the application object exists, puts them in force (the
    // windows built afterwards speak it). Returns the language the program's own texts now speak.
    Language use(Language language);
    // Puts what use() loaded before the application object existed in force.
    void install();

    // A text before the application object exists (the command line, the hand-over line), named like
    // Qt's so the translation tools find every call. Afterwards tr() does the same.
    QString translate(const char* context, const char* source) const;

    // The file of ours in force, as checked and read; empty while German is spoken. For a helper
    // process that is to speak the same language.
    QByteArray ownBytes() const { return m_hasOwn ? m_ownBytes : QByteArray(); }

    // Where ours lie for language, "<folder>/warmap_<code>.qm".
    QString ownFile(Language language) const;

private:
    bool loadOwn(Language language);
    void remove();

    const QString m_folder;
    const QString m_qtFolder;
    QByteArray m_ownBytes;  // the translator reads from these for as long as it is loaded
    QTranslator m_own;
    QTranslator m_qt;
    bool m_hasOwn = false;
    bool m_hasQt = false;
    bool m_installed = false;
};

}  // namespace platform
