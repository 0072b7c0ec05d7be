#pragma once

class CatalogPage;
struct BuilderReading;

// Puts a builder's inputs, read back from a tag, into its page as the user
// would: types each box's text, picks each drop-down's item and clicks the
// layout's option, so that the page rebuilds as it does for the user. The
// output box and the clipboard then hold the rebuilt snippet, and the
// keyboard is in the builder's first box. What the builder could not keep
// is named in a note over the output box (NotKeptNote).
void fillBuilder(CatalogPage &page, const BuilderReading &reading);
