#pragma once

#include <QString>

// The top folder the window remembers from one run to the next (in the
// user's settings), and where the folder dialog opens.
class RememberedFolder
{
public:
    static QString load();
    static void save(const QString &folder);
    // The remembered folder while it exists, otherwise the user's Pictures
    // folder, otherwise the home folder.
    static QString startFolder(const QString &remembered);
};
