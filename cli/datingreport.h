#pragma once

#include "clioutput.h"

#include <QByteArray>

class ShiftJob;
struct WalkState;

// What the dating pass found, as kelvaro-cli reports it for `dates` and at
// the head of a shift's report: the counts and the oldest and newest dates
// of the tree and, on request, its cameras.
class DatingReport {
public:
    // `folders`: the folders the dating pass entered.
    DatingReport(const WalkState &state, const ShiftJob &job, int folders);

    CliOutput::Fields countFields() const;
    QByteArray countText() const;
    QByteArray camerasJson() const;
    QByteArray camerasText() const;

private:
    const WalkState &state;
    const ShiftJob &job;
    int folders;
};
