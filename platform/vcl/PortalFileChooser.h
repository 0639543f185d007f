#pragma once
// The desktop's own file chooser, asked through the XDG desktop portal
// (org.freedesktop.portal.FileChooser OpenFile/SaveFile on the session bus). The open and
// save dialogs ask it first when the back end offers it; when there is no session bus or
// no portal on it, the layer's own dialog window stands in.
//
// The portal answers through a request object's Response signal; the wait for it runs our
// message queue and the bus's events together (the program keeps painting, its forms are
// disabled as under a modal window), and ends with a cancel when the bus connection
// closes, the portal leaves the bus or the application ends.
#include <optional>
#include <string>
#include <vector>

#include "platform/vcl/Dialogs.h"

enum class TPortalOutcome {
  Unavailable,  // no session bus, no portal, or the portal refused the call: nothing was shown
  Cancelled,    // the chooser was shown and gave no usable file
  Chosen        // Answer holds the chosen files (absolute paths) and filter
};

// Asks the desktop's chooser for the request when the back end offers it, with the
// active form (else the main form) as the parent window.
TPortalOutcome AskDesktopFileChooser(const TFileDialogRequest& Request, TFileDialogAnswer& Answer);

// Asks the portal on the session bus DBUS_SESSION_BUS_ADDRESS names (unset or empty: no
// bus). ParentWindow is the portal's name of the parent ("x11:<hex id>", or empty).
TPortalOutcome AskPortalFileChooser(const TFileDialogRequest& Request, const std::string& ParentWindow,
                                    TFileDialogAnswer& Answer);

// A file URI the chooser returned, as a local path with the percent escapes decoded byte
// for byte ("file:///home/u/%D0%B3.cnv" gives "/home/u/г.cnv"). Nothing for a URI that
// names no local file: another scheme, a host other than "localhost", a malformed
// escape, an escaped NUL or "/", a fragment.
std::optional<std::string> PathFromFileUri(const std::string& Uri);

// The patterns the portal gets for a filter's mask: its ";"-separated patterns, with
// "*.*" (every file here) as "*".
std::vector<std::string> PortalFilterPatterns(const std::string& Mask);
