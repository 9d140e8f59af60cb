// A record buffer: one card record in its stored form, edited in memory.
//
// The image always holds a record of the file layout (header word, slack,
// 24 length bytes, Categories, bodies, a zero byte, slack bytes) that fits
// the largest record. Changing a field moves the later bodies and takes
// the difference from the slack; a record that no longer fits its place
// in the file is marked grown.
#pragma once

#include <cstdint>
#include <memory>

class CardRecord {
public:
    CardRecord();
    CardRecord(const CardRecord&) = delete;
    CardRecord& operator=(const CardRecord&) = delete;

    // An empty record: all zeros, marker, new flag.
    void Clear();
    void SetMarker();
    uint16_t HeaderWord() const;
    uint8_t Flags() const;
    void SetFlags(uint8_t flags);
    void SetModified(bool on);
    void SetGrown(bool on);
    void SetNew(bool on);
    void SetDeleted(bool on);
    bool IsNew() const;
    bool IsModified() const;
    bool IsGrown() const;
    bool IsDeleted() const;
    // True for a buffer whose read failed.
    bool IsReadFailed() const;

    uint8_t GetFieldLength(int32_t id) const;
    // Offset of the field's body from the first body.
    uint32_t FieldOffset(int32_t id) const;
    // Sum of the lengths of fields id..23.
    uint32_t LengthFrom(int32_t id) const;
    uint32_t GetLength() const;
    int16_t Slack() const;
    void SetSlack(int16_t slack);

    // Copies the body into out with a terminator (out holds 256 bytes) and
    // returns its length; an id without a body gives 0 and "".
    int32_t GetFieldText(int32_t id, char* out) const;
    const uint8_t* FieldBody(int32_t id) const;
    void SetFieldText(int32_t id, const char* text);
    void SetFieldBytes(int32_t id, const uint8_t* text, uint32_t length);

    uint16_t GetCategories() const;
    void SetCategories(uint16_t value);

    void CopyFrom(const CardRecord& other);
    // Takes a stored record; false (buffer unchanged) unless its head is
    // sound and length bytes are given in full.
    bool LoadImage(const uint8_t* bytes, uint32_t length);

    uint8_t* Image() { return image_.get(); }
    const uint8_t* Image() const { return image_.get(); }
    static constexpr uint32_t MaxRecordSize() { return 1103; }

private:
    std::unique_ptr<uint8_t[]> image_;
};
