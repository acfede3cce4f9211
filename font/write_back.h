// The one rule of what a write-out writes. The image is first brought back
// to the bytes as read wherever a write-out may write; then every table
// object whose fields differ from what it read writes itself at each of its
// tables; then the checksums follow. So each write-out's result depends only
// on the file as read and the objects' current values, never on what an
// earlier write-out put into the image, and an unedited write-out is the
// file as read, byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

class OTF;
class fontObject;

class WriteBack {
  public:
    // Keeps, from the image as read, every byte a write-out may change and
    // each object's fields as it read them.
    WriteBack(const OTF& font, const uint8_t* image, size_t imageSize);

    void writeInto(const OTF& font, uint8_t* image, size_t imageSize) const;

    // Whether some object's fields differ from what the last write-out that
    // reached its file wrote (from what was read, before the first).
    bool unsaved() const;
    void markWritten();

  private:
    struct Site { // one table an object writes
        size_t offset;
        fontObject* object;
    };
    // The one test of "has this object changed": against its fields as read,
    // or as last written.
    static bool differs(fontObject* object, const std::map<fontObject*, std::vector<uint8_t>>& from);
    bool edited(fontObject* object) const { return differs(object, unedited_); }

    std::vector<Site> sites_;
    std::set<std::pair<size_t, fontObject*>> siteKeys_;
    std::map<fontObject*, std::vector<uint8_t>> unedited_;      // each object's bytes as read
    std::map<fontObject*, std::vector<uint8_t>> saved_;         // ... as last written
    std::map<size_t, std::vector<uint8_t>> asRead_;             // merged ranges of the sites' bytes
    std::optional<std::pair<size_t, uint32_t>> headAdjustment_; // where, and as read
};
