#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/modal_answer.h"
#include "support/shared_folder.h"
#include "foundation/program_folder.h"
#include "foundation/pstr.h"
#include "support/alert_capture.h"
#include "support/needed_tools.h"
#include "support/shell.h"
#include "support/temp_dir.h"
#include "text/spell_dictionary.h"
#include "dictionary_words.h"
#include "spell_word.h"

namespace {

int32_t Lookup(const std::string& w, int32_t mode = kLookupOnly) { return LookupWord(Word(w).p, mode); }
int32_t Add(const std::string& w) { return AddWord(Word(w).p); }
int32_t Remove(const std::string& w) { return RemoveWord(Word(w).p); }

std::vector<std::string> Suggestions()
{
    std::vector<std::string> out;
    for (int i = 0; i < SuggestionCount(); ++i)
        out.emplace_back(reinterpret_cast<const char*>(SuggestionAt(i) + 1), SuggestionAt(i)[0]);
    return out;
}

std::vector<std::string> AllWords() { return DictionaryWords(); }

uint32_t U32At(const std::string& bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

// The list of bucket b of a file's bytes (empty for size 0).
std::string BucketList(const std::string& file, int b)
{
    size_t at = 0;
    for (int i = 0; i < b; ++i)
        at += 4 + U32At(file, at);
    return file.substr(at + 4, U32At(file, at));
}

class SpellDictionary : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolderForTesting(dir.file("program"));
        path = dir.file("words.dic");
        UseFile(path);
    }
    void TearDown() override
    {
        CloseDictionary(0);
        SetProgramFolderForTesting("");
    }

    void UseFile(const std::string& p)
    {
        PathRecord record;
        ASSERT_EQ(PathRecordFromPosix(p, &record), 0);
        SetDictionaryPath(&record);
    }
    // A new dictionary in the file with these words, written and closed.
    void Make(const std::vector<std::string>& words)
    {
        WriteFileBytes(path, "");
        ASSERT_EQ(OpenDictionary(1, 1), 1);
        for (const std::string& w : words)
            ASSERT_EQ(Add(w), 0) << w;
        ASSERT_EQ(CloseDictionary(1), 0);
    }

    TempDir dir;
    AlertCapture alerts;
    std::string path;
};

TEST_F(SpellDictionary, StoresWordsInTheirBucketsPackedAndInOrder)
{
    Make({"cat"});
    EXPECT_EQ(ReadFileBytes(path).size(), 3124u + 4);
    EXPECT_EQ(BucketList(ReadFileBytes(path), 2 * 30 + 0), std::string("\x01\x00\x01\x13", 4));  // "t" is 19
    // Without its last word a bucket is stored as size 0 again.
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(Remove("cat"), 0);
    EXPECT_EQ(Remove("cat"), 1);
    ASSERT_EQ(CloseDictionary(1), 0);
    EXPECT_EQ(ReadFileBytes(path), std::string(3124, '\0'));

    Make({"an", "cats", "cat's", "A", "cat", "catalog", "o'er", "new york", "etc."});
    const std::string file = ReadFileBytes(path);
    EXPECT_EQ(BucketList(file, 780), std::string("\x02\x00\x01\x00\x02\xA0\x01", 7));  // a, an whole
    EXPECT_EQ(BucketList(file, 14 * 30 + 28), std::string("\x01\x00\x02\x24\x02", 5));  // o' + "er"
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(AllWords(), (std::vector<std::string>{"cat", "catalog", "cats", "cat's", "etc.", "new york", "o'er",
                                                    "a", "an"}));
}

TEST_F(SpellDictionary, LooksUpNormalisedWordsAndRefusesOthers)
{
    Make({"don't", "cat"});
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(Lookup("Don\xD5t"), 0);
    EXPECT_EQ(Lookup("DON\xB4T"), 0);
    // The marks smart quotes type.
    EXPECT_EQ(Lookup("don\x92t"), 0);
    EXPECT_EQ(Lookup("don\x91t"), 0);
    EXPECT_EQ(Lookup("Cat"), 0);
    EXPECT_EQ(Lookup("cab"), 1);
    EXPECT_EQ(Lookup(""), -1);
    EXPECT_EQ(Lookup("4cats"), -1);
    EXPECT_EQ(Lookup("'cat"), -1);
    EXPECT_EQ(Lookup("c\xE4t"), -1);  // a letter the dictionary has no code for
    EXPECT_EQ(Lookup("ca1"), -1);

    EXPECT_EQ(Add("CAT"), 1);
    EXPECT_EQ(Add("ca1"), 1);  // not storable
    EXPECT_EQ(Add("z?"), 1);
    EXPECT_EQ(Add("-cat"), -1);
    EXPECT_EQ(Remove("ca1"), -1);
    EXPECT_EQ(AllWords(), (std::vector<std::string>{"cat", "don't"}));
}

TEST_F(SpellDictionary, SuggestsFromTheNearestEntryOn)
{
    Make({"cab", "cat", "cats", "cat's", "catalog", "catalogs", "dog"});
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(Lookup("catz", kLookupSuggestWhenMissing), 1);
    EXPECT_EQ(Suggestions(), (std::vector<std::string>{"cat", "catalog", "catalogs", "cats", "cat's"}));
    EXPECT_EQ(Lookup("catalogz", kLookupSuggestWhenMissing), 1);
    EXPECT_EQ(Suggestions(), (std::vector<std::string>{"catalog", "catalogs"}));

    EXPECT_EQ(Lookup("cats", kLookupOnly), 0);  // mode 0 leaves the list alone
    EXPECT_EQ(SuggestionCount(), 2);
    EXPECT_EQ(Lookup("Cats", kLookupAlwaysSuggest), 1);
    EXPECT_EQ(Suggestions(), std::vector<std::string>{"cats"});
    EXPECT_EQ(Lookup("cats", kLookupSuggestWhenMissing), 0);
    EXPECT_EQ(SuggestionCount(), 0);
    EXPECT_EQ(Lookup("dzz", kLookupSuggestWhenMissing), 1);  // empty bucket
    EXPECT_EQ(SuggestionCount(), 0);

    for (int c = 'A'; c < 'A' + 32; ++c)
        SuggestionListEdit(Word(std::string(1, char(c))).p, 1);
    EXPECT_EQ(SuggestionCount(), 30);
    EXPECT_EQ(Suggestions().back(), std::string(1, 'A' + 31));
    SuggestionListEdit(Word("B").p, 0);
    EXPECT_EQ(SuggestionCount(), 29);
    EXPECT_EQ(Suggestions()[1], "C");
}

TEST_F(SpellDictionary, RefusesDamagedFilesWithoutTouchingThem)
{
    Make({"cat", "cats", "dog", "an"});
    const std::string good = ReadFileBytes(path);
    const size_t catList = 2 * 30 * 4;  // the size field of bucket (2, 0)
    ASSERT_EQ(U32At(good, catList), 7u);

    auto with = [&](size_t at, std::string bytes) {
        std::string s = good;
        s.replace(at, bytes.size(), bytes);
        return s;
    };
    const std::vector<std::string> damaged = {
        "",
        std::string(3123, '\0'),
        good.substr(0, good.size() - 1),
        good.substr(0, catList + 6),
        with(catList, std::string("\xFF\xFF\xFF\xFF", 4)),
        with(catList, std::string("\x08\x00\x00\x00", 4)),   // one byte more than its entries
        with(catList + 4, std::string("\x03\x00", 2)),        // one entry more than there is
        with(catList + 4, std::string("\x01\x00", 2)),        // one entry less
        with(catList + 6, std::string("\x20", 1)),            // an entry running past its list
        with(0, std::string("\x01\x00\x00\x00", 4)),         // a list of one byte
        std::string(5000, '\x41'),
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        WriteFileBytes(path, damaged[i]);
        alerts.clear();
        EXPECT_EQ(OpenDictionary(1, 0), 0) << i;
        EXPECT_FALSE(DictionaryIsOpen());
        EXPECT_EQ(alerts.lastText(), "Error open dictionary.  [13]") << i;
        EXPECT_EQ(Lookup("cat"), -1);
        EXPECT_EQ(Add("cat"), -1);
        if (!damaged[i].empty()) {
            EXPECT_EQ(OpenDictionary(1, 1), 0) << i;  // nor given up for a new one
        }
        CloseDictionary(1);
        EXPECT_EQ(ReadFileBytes(path), damaged[i]) << i;
    }
}

TEST_F(SpellDictionary, SavesThroughANewFileThatReplacesTheOld)
{
    Make({"cat", "dog"});
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(Add("cow"), 0);
    ASSERT_EQ(CloseDictionary(1), 0);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files), QStringList{"words.dic"});
    const std::string saved = ReadFileBytes(path);

    // A write that fails leaves the old file whole and says so.
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(Add("cod"), 0);
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    auto previous = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const int32_t err = CloseDictionary(1);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previous);
    EXPECT_NE(err, 0);
    EXPECT_EQ(alerts.lastText().rfind("IO FILE ERROR", 0), 0u);
    EXPECT_EQ(ReadFileBytes(path), saved);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files), QStringList{"words.dic"});
}

TEST_F(SpellDictionary, OpeningAgainClosesAndSavesFirst)
{
    Make({"cat"});
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(Add("cow"), 0);
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(Lookup("cow"), 0);
}

// Runs check as a user without privileges (in a child process when the
// tests run as root, who may write any file); its result is check's.
int RunUnprivileged(const std::function<int()>& check)
{
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(77);
        _exit(check());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST_F(SpellDictionary, ReadOnlyFileOpensForLookupsOnly)
{
    Make({"cat"});
    // Where the other user can reach it, whoever may enter the test's folder.
    SharedFolder shared;
    ASSERT_TRUE(shared.ok());
    const std::string readOnly = shared.file("words.dic");
    WriteFileBytes(readOnly, ReadFileBytes(path));
    UseFile(readOnly);
    const std::string before = ReadFileBytes(readOnly);
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    const int result = RunUnprivileged([&] {
        AlertCapture inner;
        if (OpenDictionary(1, 0) != 1 || !DictionaryIsReadOnly())
            return 1;
        if (Lookup("cat") != 0 || Add("cat") != 1 || Add("cow") != -1 || Remove("cat") != -1)
            return 2;
        if (inner.boxes().size() != 2 || inner.lastText().find("read-only") == std::string::npos)
            return 3;
        return CloseDictionary(1) == 0 && Lookup("cat") == -1 ? 0 : 4;
    });
    if (result == 77)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFileBytes(readOnly), before);
}

TEST_F(SpellDictionary, AsksForTheFileWhenTheStoredOneIsMissing)
{
    Make({"cat"});
    UseFile(dir.file("gone.dic"));
    AnswerNextModal([](QWidget* window) {
        auto* d = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Select Dictionary file");
        EXPECT_EQ(d->nameFilters(), QStringList({"Dict Files (*.dic)", "All Files (*)"}));
        d->reject();
    });
    EXPECT_EQ(OpenDictionary(1, 0), 0);
    PathRecord stored;
    GetDictionaryPath(&stored);
    EXPECT_EQ(stored.name[0], '\0');

    AnswerNextModal([this](QWidget* window) {
        auto* d = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(d, nullptr);
        AnswerFileDialog(d, QString::fromStdString(path));
    });
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(Lookup("cat"), 0);
    GetDictionaryPath(&stored);
    EXPECT_EQ(PathRecordToPosix(stored), path);
}

TEST_F(SpellDictionary, ToolAndAddingAgreeWithAnIndependentEncoder)
{
    const std::string list = dir.file("list.txt");
    WriteFileBytes(list, "cat\nCats\ncat's\nA\nan\nan\nzoo\nzoology\no'er\nnew york\netc.\ncaf\xC3\xA9\nx-ray\n"
                         "t\xC3\xA9l\xC3\xA9phone\n2nd\nco-op\ncoop\ncooperate\nzz\nzzz\nq\n\n");
    ASSERT_EQ(Shell(dir, "\"$T\" dict build list.txt tool.dic >/dev/null"), 0);
    if (Shell(dir, "python3 --version >/dev/null 2>&1") == 0) {
        ASSERT_EQ(Shell(dir, "python3 '" TESSALINE_TEST_DATA_DIR "/spell/encode_dic.py' list.txt py.dic"), 0);
        EXPECT_EQ(ReadFileBytes(dir.file("py.dic")), ReadFileBytes(dir.file("tool.dic")));
    }
    Make({"zzz", "co-op", "q", "zoology", "x-ray", "etc.", "new york", "Cats", "cooperate", "o'er", "A", "an",
          "cat", "coop", "zoo", "cat's", "zz"});
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(dir.file("tool.dic")));
    ASSERT_EQ(Shell(dir, "\"$T\" dict dump tool.dic > words.txt && \"$T\" dict build words.txt again.dic >/dev/null"),
              0);
    EXPECT_EQ(ReadFileBytes(dir.file("again.dic")), ReadFileBytes(dir.file("tool.dic")));
    WriteFileBytes(dir.file("bad.dic"), "not a dictionary");
    EXPECT_EQ(Shell(dir, "\"$T\" dict dump bad.dic 2>/dev/null"), 1);
}

TEST_F(SpellDictionary, DefaultDictionaryHoldsItsWholeList)
{
    const std::string made = TESSALINE_BINARY_DIR "/share/tessaline/Dictionaries/English (US).dic";
    const std::string source = "/usr/share/dict/american-english";
    // The build makes the dictionary from the word list when it is there.
    if (!QFile::exists(QString::fromStdString(source)))
        SKIP_FOR_MISSING_TOOL() << "the word list " << source << " (wamerican) is not installed";
    ASSERT_TRUE(QFile::exists(QString::fromStdString(made))) << made;
    const std::string original = ReadFileBytes(made);
    WriteFileBytes(path, original);
    ASSERT_EQ(OpenDictionary(1, 0), 1);

    std::ifstream in(source);
    std::string line;
    size_t found = 0;
    while (std::getline(in, line)) {
        if (line.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.-' ") != std::string::npos)
            continue;  // a character the dictionary has no code for
        ASSERT_EQ(Lookup(line), 0) << line;
        ++found;
    }
    EXPECT_GT(found, 100000u);
    EXPECT_EQ(Lookup("recieve", kLookupSuggestWhenMissing), 1);
    EXPECT_EQ(Suggestions().front().rfind("rec", 0), 0u);
    EXPECT_EQ(Add("recieve"), 0);
    EXPECT_EQ(Remove("recieve"), 0);
    ASSERT_EQ(CloseDictionary(1), 0);
    EXPECT_EQ(ReadFileBytes(path), original);
}

}  // namespace
