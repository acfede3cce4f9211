// The container of one opened font file, a single font or a collection:
// every font's directory, and one table object per table that has a model,
// shared by every font whose directory lists that table.
#pragma once

#include "font/font_directory.h"
#include "font/font_object.h"
#include "font/table_needs.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

class OTF : public fontObject {
  public:
    // Parses the directories of an image of imageSize bytes. An image too
    // short for them, or a collection header that does not fit, leaves the
    // container without fonts and not valid.
    OTF(const uint8_t* image, size_t imageSize);
    ~OTF() override;

    // True when font's directory lists a table with this tag; table then
    // receives its object, which is null for a table without a model.
    bool findTable(const char* tag, fontObject*& table, size_t font = 0) const;

    // The object of font's table with this tag when it is a T; null when the
    // font has no such table or its object is of another class.
    template <class T> T* tableOf(const char* tag, size_t font = 0) const {
        fontObject* table = nullptr;
        return findTable(tag, table, font) ? dynamic_cast<T*>(table) : nullptr;
    }
    // The same object only while it is valid: the one a write-out writes
    // back, so the only one an edit may go to.
    template <class T> T* validTableOf(const char* tag, size_t font = 0) const {
        T* table = tableOf<T>(tag, font);
        return table != nullptr && table->valid ? table : nullptr;
    }

    // The fonts, ascending, whose directories list the very table that font's
    // tag stands for (same tag, offset and length).
    std::vector<size_t> fontsSharing(const char* tag, size_t font) const;

    // Whether a font can do without the table: the tables a font cannot be
    // drawn or installed without can never be removed.
    static bool isRemovable(const char* tag);
    // What removing tag from font takes with it, or why nothing may go
    // (font/table_needs.h).
    TableRemoval removalOf(const char* tag, size_t font) const;
    // Takes every record of tag, and of the tables that need it, out of
    // font's directory: findTable no longer finds them there, and the next
    // write-out lays the file out without them. False, with nothing changed,
    // when removalOf lets nothing go.
    bool removeTable(const char* tag, size_t font);
    // Whether some font no longer lists a table it was read with.
    bool hasRemovedTables() const;

    // The container never writes into the image as read: a write-out reads
    // the container and the image and writes a new file (font/write_out.h).
    bool writeTable(uint8_t*, size_t) override { return false; }
    size_t writeExtent() const override { return 0; }

    // Whether object's fields differ from those it was read with: the one
    // test of "has this table changed", which the write-out and the unsaved
    // edits both ask.
    bool changed(fontObject* object) const { return differs(object, asRead_); }

    // True while a write-out would write something other than what the last
    // successful one wrote (the file as read, before the first).
    bool hasUnsavedEdits() const;
    // Called once a write-out has reached its file: what it wrote is saved.
    void markWritten();

    bool isCollection() const { return collection_; }

    std::vector<FontDirectory> fonts; // one for a single font file

    // A table is its tag, offset and length: the same three in two
    // directories are one table with one object.
    using TableKey = std::tuple<std::string, uint32_t, uint32_t>;
    std::map<TableKey, std::unique_ptr<fontObject>> tableObjects;

  private:
    bool readDirectories(const uint8_t* image, size_t imageSize);
    void buildTableObjects(const uint8_t* image, size_t imageSize);

    bool collection_ = false;
    std::vector<FontNeeds> needs_; // each font's, read with the image
    using Snapshot = std::map<const fontObject*, std::vector<uint8_t>>;
    static bool differs(fontObject* object, const Snapshot& from);
    Snapshot asRead_, saved_;       // each object's serialized fields: as read, as last written
    size_t removedAtLastWrite_ = 0; // how many tags were removed when the last write-out was
    size_t removedTagCount() const;
};
