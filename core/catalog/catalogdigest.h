#pragma once

#include <QtGlobal>

// What the commands would otherwise derive from the page data at every
// start, derived once when the project builds and compiled in: the tag
// knowledge of the catalog (tagknowledge.h) and the bytes of each editor
// export (editorexport.h). The tool that writes it, tools/catalogdigest.cpp,
// is built from the core's own code without a digest, so it derives all of
// it from the pages; the page data stays the one source, and core_tests
// holds the digest equal to what the core derives at run time.
//
// Plain tables of a generated source (cmake/catalogdigest.cmake): reading
// them allocates no text, since every text is a view of the pool.
namespace catalogdigest {

// A text of the pool: `size` UTF-16 units from `start`, followed by a 0.
struct Text {
    quint32 start;
    quint32 size;
};

struct Attribute {
    Text name;
    bool numeric;
    quint32 firstValue;   // into Digest::values
    quint32 valueCount;
};

struct Tag {
    Text name;
    bool block;
    quint32 firstAttribute;   // into Digest::attributes
    quint32 attributeCount;
};

struct Bytes {
    const char *data;
    qsizetype size;
};

struct Digest {
    const char16_t *text;   // the pool
    const Tag *tags;        // sorted by name, as TagKnowledge::tags()
    quint32 tagCount;
    const Attribute *attributes;
    const Text *values;
    const Text *attributeNames;   // of every tag, sorted
    quint32 attributeNameCount;
    Bytes vsCodeSnippets;         // vsCodeSnippets(catalogTemplates())
    Bytes jetBrainsTemplateSet;   // jetBrainsTemplateSet(catalogTemplates())
};

// The digest compiled into this program; null where it was built without
// one (the tool that writes it, the fuzz build), which derives everything
// from the page data.
const Digest *compiled();

} // namespace catalogdigest
