// The user's runtime folder, for programs started where the session names none.
#pragma once

namespace morv {

// Every Qt GUI application looks up the user's runtime folder as it starts, to learn whether it
// runs in a sandbox, and without XDG_RUNTIME_DIR (under cron, su, ssh or a service) it warns on
// stderr before falling back to TMPDIR/runtime-USER. Called before the Qt application is created,
// this makes that same folder, private to the user (0700), and names it in XDG_RUNTIME_DIR, so
// Qt finds a proper one and has nothing to warn about. A folder of that name that is not the
// user's own private folder and cannot be made one is left alone, and Qt says what is wrong.
void ProvideRuntimeFolder();

}  // namespace morv
