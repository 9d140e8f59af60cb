#include "database/card_record.h"

#include <algorithm>
#include <cstring>

#include "database/field_table.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "foundation/byte_order.h"

static_assert(CardRecord::MaxRecordSize() == dbrec::kMaxRecordSize);

CardRecord::CardRecord() : image_(new uint8_t[dbrec::kMaxRecordSize])
{
    Clear();
}

void CardRecord::Clear()
{
    std::memset(image_.get(), 0, dbrec::kMaxRecordSize);
    image_[dbrec::kMarkerOffset] = dbrec::kMarker;
    image_[dbrec::kFlagsOffset] = dbrec::kNew;
}

void CardRecord::SetMarker() { image_[dbrec::kMarkerOffset] = dbrec::kMarker; }
uint16_t CardRecord::HeaderWord() const { return GetU16LE(image_.get()); }
uint8_t CardRecord::Flags() const { return image_[dbrec::kFlagsOffset]; }
void CardRecord::SetFlags(uint8_t flags) { image_[dbrec::kFlagsOffset] = flags; }

namespace {
void SetBit(uint8_t& flags, uint8_t bit, bool on)
{
    flags = on ? uint8_t(flags | bit) : uint8_t(flags & ~bit);
}
}  // namespace

void CardRecord::SetModified(bool on) { SetBit(image_[dbrec::kFlagsOffset], dbrec::kModified, on); }
void CardRecord::SetGrown(bool on) { SetBit(image_[dbrec::kFlagsOffset], dbrec::kGrown, on); }
void CardRecord::SetNew(bool on) { SetBit(image_[dbrec::kFlagsOffset], dbrec::kNew, on); }
void CardRecord::SetDeleted(bool on) { SetBit(image_[dbrec::kFlagsOffset], dbrec::kDeleted, on); }
bool CardRecord::IsNew() const { return Flags() & dbrec::kNew; }
bool CardRecord::IsModified() const { return Flags() & dbrec::kModified; }
bool CardRecord::IsGrown() const { return Flags() & dbrec::kGrown; }
bool CardRecord::IsDeleted() const { return Flags() & dbrec::kDeleted; }
bool CardRecord::IsReadFailed() const { return Flags() == dbrec::kReadFailed; }

uint8_t CardRecord::GetFieldLength(int32_t id) const
{
    return IsBodyField(id) ? image_[dbrec::kLengths + id] : 0;
}

uint32_t CardRecord::FieldOffset(int32_t id) const
{
    uint32_t sum = 0;
    for (int32_t i = 0; i < std::min(id, kBodyFieldCount); ++i)
        sum += image_[dbrec::kLengths + i];
    return sum;
}

uint32_t CardRecord::LengthFrom(int32_t id) const
{
    uint32_t sum = 0;
    for (int32_t i = std::max(id, 0); i < kBodyFieldCount; ++i)
        sum += image_[dbrec::kLengths + i];
    return sum;
}

uint32_t CardRecord::GetLength() const
{
    const int32_t length = RecordLength(image_.get());
    return length < int32_t(dbrec::kHeadSize) ? dbrec::kHeadSize : uint32_t(length);
}

int16_t CardRecord::Slack() const { return GetI16LE(image_.get() + dbrec::kSlack); }
void CardRecord::SetSlack(int16_t slack) { PutI16LE(image_.get() + dbrec::kSlack, slack); }

const uint8_t* CardRecord::FieldBody(int32_t id) const
{
    return image_.get() + dbrec::kBodies + FieldOffset(id);
}

int32_t CardRecord::GetFieldText(int32_t id, char* out) const
{
    const uint8_t length = GetFieldLength(id);
    if (length)
        std::memcpy(out, FieldBody(id), length);
    out[length] = 0;
    return length;
}

void CardRecord::SetFieldText(int32_t id, const char* text)
{
    SetFieldBytes(id, reinterpret_cast<const uint8_t*>(text), uint32_t(std::strlen(text)));
}

void CardRecord::SetFieldBytes(int32_t id, const uint8_t* text, uint32_t length)
{
    if (!IsBodyField(id))
        return;
    const uint32_t oldLength = image_[dbrec::kLengths + id];
    const uint32_t newLength = std::min(length, FieldMaxLength(id));
    // Where the body starts and where the bodies end, in one pass over the
    // lengths: a record filled field by field comes here for every field.
    const uint8_t* lengths = image_.get() + dbrec::kLengths;
    uint32_t offset = 0;
    uint32_t total = 0;
    for (int32_t i = 0; i < kBodyFieldCount; ++i) {
        total += lengths[i];
        offset += i < id ? lengths[i] : 0;
    }
    uint8_t* body = image_.get() + dbrec::kBodies + offset;
    if (newLength == oldLength && std::memcmp(body, text, newLength) == 0)
        return;
    SetModified(true);

    // The bodies from this field on move by the difference; every body
    // stays within its maximum, so the record always fits the image.
    const uint32_t tail = total - offset;
    if (newLength < oldLength) {
        const uint32_t cut = oldLength - newLength;
        std::memmove(body, body + cut, tail - cut);
    } else if (newLength > oldLength) {
        std::memmove(body + (newLength - oldLength), body, tail);
    }
    std::memcpy(body, text, newLength);
    image_[dbrec::kLengths + id] = uint8_t(newLength);
    image_[dbrec::kBodies + total - oldLength + newLength] = 0;

    const int32_t slack = int32_t(Slack()) - (int32_t(newLength) - int32_t(oldLength));
    if (slack < 0) {
        SetSlack(0);
        SetGrown(true);
    } else {
        SetSlack(int16_t(slack));
    }
}

uint16_t CardRecord::GetCategories() const { return GetU16LE(image_.get() + dbrec::kCategories); }

void CardRecord::SetCategories(uint16_t value)
{
    if (value != GetCategories())
        SetModified(true);
    PutU16LE(image_.get() + dbrec::kCategories, value);
}

void CardRecord::CopyFrom(const CardRecord& other)
{
    if (&other != this)
        std::memcpy(image_.get(), other.image_.get(), dbrec::kMaxRecordSize);
}

bool CardRecord::LoadImage(const uint8_t* bytes, uint32_t length)
{
    if (length < dbrec::kHeadSize || SoundRecordLength(bytes) != length)
        return false;
    std::memcpy(image_.get(), bytes, length);
    return true;
}
