#pragma once
// The program's shortcuts in the places a desktop keeps them: the
// applications menu, the programs started with the session, and the
// desktop. One shortcut file per place, always under the same name; the
// program only ever deletes a file it wrote itself.
//
// The freedesktop form (desktop entries in $XDG_DATA_HOME/applications,
// $XDG_CONFIG_HOME/autostart and the folder `xdg-user-dir DESKTOP` names)
// is built here; a Windows form would keep .lnk files in the Start menu,
// Startup and Desktop folders behind the same interface.

#include <QString>
#include <QStringList>

#include <memory>

namespace shell {

enum class Place { Menu, Startup, Desktop };

struct Shortcut {
    QString name;          // shown name
    QString localName;     // shown name in Japanese ("" for none)
    QString comment;       // what the program does
    QString target;        // the program, an absolute path
    QStringList arguments; // given to the program ("/TSR")
    QString icon;          // an icon name or path
};

enum class Failure {
    None,
    NoFolder,      // the place has no folder here, or it does not exist
    FolderNotMade, // the folder could not be created
    Exists,        // a file of that name is there already (it is kept)
    WriteFailed,   // the file could not be written; nothing was left behind
    NotOurs,       // the file was not written by this program (it is kept)
    RemoveFailed,  // the file could not be deleted
};

struct Outcome {
    Failure failure = Failure::None;
    QString path; // the file or folder concerned
    bool ok() const { return failure == Failure::None; }
};

class Shortcuts {
public:
    // The form for this platform.
    static std::unique_ptr<Shortcuts> create();
    virtual ~Shortcuts() = default;

    // The folder of a place; empty when the platform names none.
    virtual QString folder(Place place) const = 0;
    // The shortcut file of a place; empty without a folder.
    virtual QString path(Place place) const = 0;
    // Something is there under the shortcut's name (a file, a link, a folder).
    virtual bool exists(Place place) const = 0;
    // The file there is a shortcut this program wrote.
    virtual bool isOurs(Place place) const = 0;
    // Writes the shortcut where none is; a failure leaves nothing behind.
    virtual Outcome create(Place place, const Shortcut &shortcut) = 0;
    // Deletes the shortcut of the place, only when it is ours.
    virtual Outcome remove(Place place) = 0;
};

} // namespace shell
