#pragma once

// Registration in the order the results are printed.
void registerStartupBenchmarks();       // start-up, navigation, memory
void registerCommandBenchmarks();       // the commands' start against a bare QCoreApplication
void registerInteractionBenchmarks();   // entry clicks, keystrokes, pastes
void registerHighlightBenchmarks();     // colouring the output box
void registerCheckBenchmarks();         // checking a theme against reading it
void registerThemeBenchmarks();         // indexing a theme's includes against reading it
void registerLanguageServerBenchmarks();   // completion, diagnostics and memory of `lsp`
