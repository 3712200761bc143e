#pragma once
// At start-up: a dictionary folder without dictionary files is said at once,
// in the result pane and in speech, naming the folder, rather than at the
// first lookup.

class MainForm;

namespace dictionarycheck {

// True when the folder of form.FilePath holds files of both directions;
// otherwise shows and speaks where they are missing and returns false.
bool announceMissing(MainForm &form);

} // namespace dictionarycheck
