#pragma once

#include <QString>

// Facts about the product that several parts of the program show.

// The program's name as installed, not the path it was started by: what
// messages, reports and the language server call the tool.
QString programName();

// The version, as the build gives it (the project's version in CMake).
QString productVersion();

// The caption of every window of the tool, version included.
QString windowCaption();

// The vendor's home site. Snippets of the visual editing page link to it and
// the about page builds its addresses from it; written without a trailing
// slash so that paths can be appended.
QString homeSiteAddress();
