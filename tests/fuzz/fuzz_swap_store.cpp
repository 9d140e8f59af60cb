// Drives a swappable record store through a sequence of operations read from
// the input and checks it against a model of what each record holds. After
// every step ids are unique and no stretch of the swap file is both free
// and held by a record. The input's tail is then read as transfer records.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "foundation/alert_sink.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "frames/ctfile_mng.h"
#include "frames/record_header_format.h"
#include "frames/swap_store.h"
#include "fuzz_support.h"

namespace {

PathRecord TempFolder()
{
    PathRecord r{};
    Check(GetSystemTempFolder(&r) == 0);
    return r;
}

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    const uint8_t* rest() const { return data_ + at_; }
    size_t restSize() const { return size_ - at_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

std::string DataOf(SwapStore& store)
{
    Handle h = store.DataHandle(store.Current());
    return std::string(reinterpret_cast<char*>(HandleData(h)), HandleGetSize(h));
}

void CheckInvariants(SwapStore& store, CTFileMng& swap)
{
    std::vector<bool> ids(65536, false);
    for (int32_t i = 0; i < store.Count(); ++i) {
        const uint8_t* r = store.RecordPtr(i);
        Check(HeaderId(r) != 0 && !ids[HeaderId(r)]);
        ids[HeaderId(r)] = true;
    }
    uint64_t end = 0;
    for (int32_t i = 0; i < swap.FreeCount(); ++i) {
        uint32_t p = 0, n = 0;
        swap.FreeEntry(i, &p, &n);
        Check(n > 0 && (i == 0 || p > end));
        end = uint64_t(p) + n;
        for (int32_t k = 0; k < store.Count(); ++k) {
            const uint8_t* r = store.RecordPtr(k);
            if (!HeaderHas(r, kRecCopied) || HeaderSize(r) == 0)
                continue;
            Check(uint64_t(HeaderPosition(r)) + HeaderSize(r) <= p || HeaderPosition(r) >= end);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    static FileHandle transfer = Scratch("swapstore");

    CTFileMng swap;
    Check(swap.CreateSwapFile(TempFolder()) == 0);
    SwapStore store(kRecordHeaderSize, &swap);
    std::map<uint16_t, std::string> model;
    Bytes in(data, size);
    auto pick = [&](uint8_t b) -> uint16_t {
        if (model.empty())
            return uint16_t(b);
        auto it = model.begin();
        std::advance(it, b % model.size());
        return it->first;
    };

    for (int step = 0; step < 64 && in.more(); ++step) {
        const uint8_t op = in.next();
        if (op == 0xFF)
            break;
        switch (op % 9) {
        case 0: {
            const std::string text(in.next(), char('a' + op % 26));
            Handle h = HandleNew(uint32_t(text.size()));
            std::memcpy(HandleData(h), text.data(), text.size());
            const uint16_t id = store.InsertRecord(in.next() % (store.Count() + 1), h, op & 0x10);
            if (id)
                model[id] = text;
            else
                HandleFree(h);
            break;
        }
        case 1:
            store.UnloadData(pick(in.next()));
            break;
        case 2: {
            const uint16_t id = pick(in.next());
            if (store.LoadData(id, 0) == 0)
                Check(model.count(id) && DataOf(store) == model[id]);
            break;
        }
        case 3: {
            const uint16_t id = pick(in.next());
            const uint8_t length = in.next();
            if (store.LoadData(id, 0) != 0)
                break;
            Handle h = store.DataHandle(store.Current());
            HandleResize(h, length);
            std::memset(HandleData(h), 'A' + length % 26, length);
            model[id] = std::string(length, char('A' + length % 26));
            store.MarkChanged(id, false);
            break;
        }
        case 4: {
            const uint16_t id = pick(in.next());
            if (store.DeleteById(id) == 0)
                model.erase(id);
            break;
        }
        case 5:
            if (store.SelectIndex(in.next() % (store.Count() + 1), 0) == 0)
                store.RewriteCurrent();
            break;
        case 6: {
            const uint16_t id = pick(in.next());
            FileSetSize(transfer, 0);
            FileSeek(transfer, kSeekStart, 0);
            if (store.WriteRecordTo(transfer, id) != 0)
                break;
            FileSeek(transfer, kSeekStart, 0);
            uint16_t copy = 0;
            if (store.ReadRecordFrom(transfer, &copy) == 0)
                model[copy] = model[id];
            break;
        }
        case 7:
            store.UnloadAll(op & 0x10 ? kRecKeep : 0);
            break;
        case 8:
            store.SetLastId(uint16_t(65500 + in.next() % 36));
            break;
        }
        CheckInvariants(store, swap);
    }
    for (const auto& [id, text] : model) {
        Check(store.LoadData(id, 0) == 0);
        Check(DataOf(store) == text);
    }

    // Whatever is left is read as transfer records; each one read must
    // come back as it was.
    FileSetSize(transfer, 0);
    FileSeek(transfer, kSeekStart, 0);
    if (in.restSize())
        FileWrite(transfer, in.rest(), uint32_t(in.restSize()));
    FileSeek(transfer, kSeekStart, 0);
    for (int i = 0; i < 8; ++i) {
        const int32_t before = store.Count();
        uint16_t id = 0;
        if (store.ReadRecordFrom(transfer, &id) != 0) {
            Check(store.Count() == before);
            break;
        }
        Check(store.Count() == before + 1 && store.LoadData(id, 0) == 0);
        CheckInvariants(store, swap);
    }
    return 0;
}
