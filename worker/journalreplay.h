#pragma once

#include "journal.h"
#include "walkstate.h"
#include "writingpass.h"

#include <QList>
#include <QSet>
#include <QString>

#include <memory>

// Undo and resume work from a journal chain: the journal of the pass to set
// back or finish, and the journals of the passes that pass finished, back to
// the shift that began it. Each picture the chain names is planned from its
// recorded runs (reversed for an undo) and handed to the writing pass.
class JournalReplay {
public:
    JournalReplay(WalkState &state, WritingPass &writing) : state(state), writing(writing) {}

    // The journal and, when it finished an earlier pass, that pass's journal
    // before it, back to the pass that started it: oldest first, headers only.
    static bool chain(const QString &journal, QList<Journal::Record> *chain, QString *error);
    // The chain to work from, refused (with why) when it holds an undo; with
    // `confirmed`, the first record also holds the pictures whose dates the
    // user saw.
    static bool load(const QString &journal, QList<Journal::Record> *chain, bool confirmed, QString *refusal);
    // The pictures the chain names, each physical file once.
    static int distinctPictures(const QList<Journal::Record> &chain);

    // Plans every entry of the chain, each physical file once, from the first
    // journal that names it; an undo (`reverse`) swaps each run's texts.
    void plan(const QList<Journal::Record> &chain, bool reverse, const Journal::Header &header);

    // Whether every run of a journal entry is a date field moved by exactly
    // `shiftSeconds` (its old and new texts spell the entry's old and new
    // dates in one encoding), or the digest beside IPTC texts: what undo and
    // resume check before they write anything a journal says.
    static bool holdsTheShift(const Journal::Entry &entry, qint64 shiftSeconds);

    // After an undo's plan from a journal without its closing line: the
    // pictures whose dates the user saw that no line names and that hold the
    // shifted date (their lines were lost with the end of the journal) are
    // named and counted as left alone. `chain` as for plan().
    void findUnnamed(const QList<Journal::Record> &chain, bool followOutsideLinks);
    // Whether a journal plan() read lacked its closing line, was cut or had
    // damaged lines: lines may be gone with what they named.
    bool incomplete = false;

    // The pictures taken from the journal (a resume then leaves them to it).
    QSet<FileIdentity> handled;

private:
    void noteDamage(const Journal::Record &record);
    void leaveAlone(const QString &name, const char *why, bool count = true);
    void planEntry(const Journal::Entry &entry, bool reverse, const Journal::Header &header,
                   std::unique_ptr<FileRewrite> rewrite, PictureStatus opened);

    WalkState &state;
    WritingPass &writing;
};
