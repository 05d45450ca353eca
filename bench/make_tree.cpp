// make_tree: builds a synthetic folder tree to benchmark scanners against.
//
//   make_tree [--seed N] [--jobs N] [--no-hidden-folders] [--no-links] DIR [ENTRIES]
//
// Builds about ENTRIES entries (default 1,000,000; files, folders, symbolic links and hard
// links, DIR itself not counted) under DIR, which must be missing or empty. The same seed and
// entry count always give the same names, sizes and links, whatever the number of jobs: every
// folder draws its own random stream from its parent's before anything is created.
//
// The tree looks like a busy home folder: nested folders up to ten levels deep with varying
// fan-out and a few folders of several thousand entries, themed names (photos, music, source
// code, documents, logs, caches), mixed-case and missing extensions, hidden files and folders,
// UTF-8 names and a handful of names that are not valid UTF-8, symbolic links to files and to
// folders (some dangling, some pointing back up), and hard links. Sizes are skewed: most files
// hold 0 to 16 KB, a few are hundreds of megabytes or more. Only a small part of any file is
// really written; the rest of its length comes from ftruncate, so the files are sparse and the
// whole tree takes well under a gigabyte per million entries.
//
// --no-hidden-folders names every folder without a leading dot and --no-links makes plain
// files where links would go: a tree every scanner reads the same way (the equal-work tree).
// The folder shapes and the number of entries stay those of the same seed without them.
//
// Prints one line: the number of entries made, then what they are.

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <iterator>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxDepth = 10;                // deepest folder level below DIR
constexpr uint64_t kTaskBudget = 20000;      // subtrees larger than this go to the job queue
constexpr size_t kRememberedFiles = 48;      // link targets kept per folder

bool g_hiddenFolders = true; // --no-hidden-folders clears it
bool g_links = true;         // --no-links clears it

// A folder name as the options allow it: without its leading dot when hidden folders are off.
std::string visibleIfAsked(std::string name)
{
    if (!g_hiddenFolders)
        while (!name.empty() && name[0] == '.')
            name.erase(0, 1);
    return name;
}

// splitmix64: tiny, fast and plenty for shaping a tree.
struct Rng {
    uint64_t state;

    uint64_t next()
    {
        uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    uint64_t below(uint64_t n) { return n ? next() % n : 0; }
    uint64_t range(uint64_t lo, uint64_t hi) { return lo + below(hi - lo + 1); }
    double unit() { return double(next() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }
    // Log-uniform in [lo, hi], lo >= 1: as many values between 1 and 10 KB as between 10 and 100.
    uint64_t logUniform(uint64_t lo, uint64_t hi)
    {
        const double l = std::log(double(lo)), h = std::log(double(hi) + 1.0);
        return std::min<uint64_t>(hi, uint64_t(std::exp(l + unit() * (h - l))));
    }
    // Geometric count with the given mean (>= 0).
    uint64_t geometric(double mean)
    {
        if (mean <= 0)
            return 0;
        const double p = 1.0 / (mean + 1.0);
        return uint64_t(std::floor(std::log(1.0 - unit()) / std::log(1.0 - p)));
    }
    template <class C> const auto& pick(const C& items) { return std::data(items)[below(std::size(items))]; }
};

enum class Theme { Generic, Photos, Music, Videos, Code, Documents, Logs, Downloads, Cache };

struct Ext {
    const char* text;
    unsigned weight;
};

// ---------------------------------------------------------------------------------------------
// Names

constexpr const char* kWords[] = {
    "alpha",   "report",  "draft",   "final",  "notes",   "budget",  "summer", "winter",
    "project", "backup",  "data",    "old",    "new",     "copy",    "test",   "sample",
    "config",  "export",  "import",  "client", "server",  "invoice", "photo",  "scan",
    "meeting", "plan",    "chapter", "index",  "main",    "utils",   "parser", "render",
    "network", "storage", "cache",   "image",  "thumb",   "video",   "audio",  "mix",
    "river",   "forest",  "garden",  "house",  "kitchen", "travel",  "family", "party",
    "Q1",      "Q2",      "Q3",      "Q4",     "v2",      "v3",      "tmp",    "misc",
    "archive", "readme",  "license", "setup",  "install", "update",  "legacy", "stable",
};

// Words that are not ASCII but are valid UTF-8.
constexpr const char* kUtf8Words[] = {
    "café",      "naïve",    "résumé",      "Москва",    "東京",     "日本語",  "Ελληνικά",
    "Straße",    "niño",     "crème brûlée", "ångström",  "Zürich",   "中文文件", "😀",
    "📷 photos", "façade",   "Ørsted",      "İstanbul",  "ÆØÅ",      "한국어",  "עברית",
    "العربية",   "हिन्दी",      "smörgåsbord", "piñata",    "Łódź",     "Ñandú",   "𝄞 music",
};

// Name fragments with bytes that are not valid UTF-8 (Latin-1 text, stray continuation bytes,
// a truncated sequence, an overlong encoding).
constexpr const char* kBadBytes[] = {
    "caf\xe9",        "r\xe9sum\xe9",  "\xff\xfe" "bom",   "bad\x80\x81name",
    "trunc\xe2\x82",  "\xc3\x28pair",  "over\xc0\xaflong", "latin1-\xe0\xe9\xe8",
};

constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

constexpr const char* kPlaces[] = {"Rome", "Lisbon", "Kyoto", "Oslo", "Iceland", "the Alps", "Grandma's",
                                   "Barcelona", "New York", "Crète", "Provence"};

constexpr Ext kGenericExts[] = {
    {".txt", 20}, {".pdf", 10}, {".jpg", 10}, {".png", 8}, {".json", 5}, {".log", 4}, {".zip", 3},
    {".docx", 4}, {".xlsx", 3}, {".mp3", 3},  {".mp4", 2}, {".py", 2},   {".js", 2},  {".cpp", 1},
    {".h", 1},    {".tar.gz", 2}, {"", 10},   {".PDF", 1}, {".JPG", 1},  {".bak", 2}, {".tmp", 2},
    {".md", 2},   {".html", 2}, {".csv", 2},  {".TXT", 1}, {".Jpeg", 1}, {".tar.GZ", 1}, {".", 1},
};
constexpr Ext kPhotoExts[] = {{".jpg", 50}, {".JPG", 15}, {".png", 15}, {".jpeg", 5}, {".heic", 5},
                              {".PNG", 2},  {".raw", 3},  {".xmp", 3},  {".mp4", 2}};
constexpr Ext kMusicExts[] = {{".mp3", 60}, {".flac", 15}, {".m4a", 10}, {".ogg", 5}, {".MP3", 3},
                              {".jpg", 4},  {".m3u", 2},   {".cue", 1}};
constexpr Ext kVideoExts[] = {{".mp4", 50}, {".mkv", 20}, {".MOV", 10}, {".avi", 5}, {".srt", 10},
                              {".webm", 5}};
constexpr Ext kCodeExts[] = {{".cpp", 15}, {".h", 15}, {".py", 12}, {".js", 20}, {".json", 8},
                             {".ts", 6},   {".md", 4}, {".txt", 2}, {".o", 4},   {".so", 1},
                             {".c", 5},    {".hpp", 2}, {".map", 3}, {".yml", 2}, {".sh", 2},
                             {".css", 3},  {".html", 2}, {"", 4},   {".d.ts", 3}, {".pyc", 3}};
constexpr Ext kDocumentExts[] = {{".pdf", 30}, {".docx", 20}, {".xlsx", 12}, {".txt", 12},
                                 {".PDF", 4},  {".odt", 4},   {".pptx", 5},  {".doc", 3},
                                 {".csv", 4},  {".rtf", 1},   {".md", 3},    {".DOCX", 1}};
constexpr Ext kLogExts[] = {{".log", 60}, {".log.1", 10}, {".log.gz", 15}, {".txt", 5}, {".out", 5},
                            {".err", 3},  {"", 2}};
constexpr Ext kDownloadExts[] = {{".zip", 20}, {".tar.gz", 15}, {".pdf", 15}, {".mp4", 8}, {".iso", 2},
                                 {".deb", 6},  {".exe", 3},     {".dmg", 1},  {".jpg", 8}, {".tar.xz", 4},
                                 {".docx", 4}, {".7z", 2},      {".ZIP", 1},  {"", 3}};

std::span<const Ext> extsFor(Theme t)
{
    switch (t) {
    case Theme::Photos: return kPhotoExts;
    case Theme::Music: return kMusicExts;
    case Theme::Videos: return kVideoExts;
    case Theme::Code: return kCodeExts;
    case Theme::Documents: return kDocumentExts;
    case Theme::Logs: return kLogExts;
    case Theme::Downloads: return kDownloadExts;
    case Theme::Cache: return {};
    case Theme::Generic: break;
    }
    return kGenericExts;
}

const char* pickExt(Rng& rng, std::span<const Ext> exts)
{
    unsigned total = 0;
    for (const Ext& e : exts)
        total += e.weight;
    unsigned r = unsigned(rng.below(total));
    for (const Ext& e : exts) {
        if (r < e.weight)
            return e.text;
        r -= e.weight;
    }
    return "";
}

std::string word(Rng& rng)
{
    if (rng.chance(0.02))
        return rng.pick(kUtf8Words);
    return rng.pick(kWords);
}

std::string capitalised(std::string w)
{
    if (!w.empty() && w[0] >= 'a' && w[0] <= 'z')
        w[0] = char(w[0] - 'a' + 'A');
    return w;
}

std::string fmt(const char* format, auto... args)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

// A file name in two parts, so that a clash can become "stem (2).ext".
struct Name {
    std::string stem;
    std::string ext;
};

// Rare oddities shared by every theme: bad bytes, very long names, odd punctuation.
void addOddities(Rng& rng, Name& n)
{
    if (rng.chance(1.0 / 20000))
        n.stem += rng.pick(kBadBytes);
    else if (rng.chance(1.0 / 5000))
        n.stem.append(size_t(rng.range(150, 240)) - std::min<size_t>(n.stem.size(), 100), 'x');
    else if (rng.chance(1.0 / 3000))
        n.stem += rng.pick(std::initializer_list<const char*>{" #1", " & co", " 100%", " 'quoted'", " [draft]",
                                                         " (copy)", "  two  spaces", " trailing "});
    else if (rng.chance(1.0 / 200000))
        n.stem += "\nnewline";
}

Name fileName(Rng& rng, Theme theme, uint64_t index)
{
    Name n;
    const auto exts = extsFor(theme);
    switch (theme) {
    case Theme::Photos:
        switch (rng.below(6)) {
        case 0: n.stem = fmt("IMG_%04" PRIu64, index + rng.below(9000)); break;
        case 1: n.stem = fmt("DSC%05" PRIu64, index + rng.below(90000)); break;
        case 2: n.stem = fmt("PXL_2023%02d%02d_%06" PRIu64, int(rng.range(1, 12)), int(rng.range(1, 28)), rng.below(1000000)); break;
        case 3: n.stem = fmt("Screenshot 2024-%02d-%02d at %02d.%02d.%02d", int(rng.range(1, 12)), int(rng.range(1, 28)),
                             int(rng.below(24)), int(rng.below(60)), int(rng.below(60)));
                n.ext = ".png"; break;
        case 4: n.stem = word(rng) + " " + std::to_string(index + 1); break;
        default: n.stem = fmt("photo-%" PRIu64, rng.below(100000)); break;
        }
        break;
    case Theme::Music:
        n.stem = fmt("%02" PRIu64 " - ", index % 30 + 1) + capitalised(word(rng)) + " " + capitalised(word(rng));
        break;
    case Theme::Videos:
        n.stem = rng.chance(0.5) ? fmt("clip%03" PRIu64, index) : capitalised(word(rng)) + fmt("_%d", int(rng.range(1995, 2024)));
        break;
    case Theme::Code:
        switch (rng.below(10)) {
        case 0: n.stem = word(rng); break;
        case 1: {
            static constexpr const char* fixed[] = {"Makefile", "README", "LICENSE", "CMakeLists.txt", "package.json",
                                                    "index.js", "__init__.py", "setup.py", "Cargo.toml", ".gitignore",
                                                    ".eslintrc.json", ".env", ".clang-format", "Dockerfile"};
            n.stem = rng.pick(fixed);
            return n;
        }
        default: n.stem = word(rng) + (rng.chance(0.5) ? "_" : "-") + word(rng); break;
        }
        break;
    case Theme::Documents:
        if (rng.chance(0.3))
            n.stem = fmt("Invoice-%05" PRIu64, rng.below(100000));
        else
            n.stem = capitalised(word(rng)) + " " + word(rng) + fmt(" %d", int(rng.range(2005, 2024)));
        break;
    case Theme::Logs:
        n.stem = word(rng) + fmt("-2023-%02d-%02d", int(rng.range(1, 12)), int(rng.range(1, 28)));
        break;
    case Theme::Downloads:
        n.stem = word(rng) + "-" + fmt("%d.%d.%d", int(rng.below(5)), int(rng.below(20)), int(rng.below(10)));
        break;
    case Theme::Cache:
        n.stem = fmt("%016" PRIx64, rng.next());
        if (rng.chance(0.1))
            n.stem.resize(38);
        return n;
    case Theme::Generic:
        n.stem = rng.chance(0.5) ? word(rng) : capitalised(word(rng)) + " " + word(rng);
        if (rng.chance(0.3))
            n.stem += fmt(" %" PRIu64, rng.below(100));
        break;
    }
    if (n.ext.empty() && !exts.empty())
        n.ext = pickExt(rng, exts);
    if (rng.chance(0.02))
        n.stem.insert(0, ".");
    addOddities(rng, n);
    return n;
}

// A folder's name, and the theme its contents follow.
std::pair<std::string, Theme> folderName(Rng& rng, Theme parent, int depth)
{
    auto named = [&](std::initializer_list<const char*> pool) { return std::string(rng.pick(pool)); };
    std::string name;
    Theme theme = parent;
    switch (parent) {
    case Theme::Photos:
        switch (rng.below(5)) {
        case 0: name = std::to_string(rng.range(2008, 2024)); break;
        case 1: name = std::string(rng.pick(kMonths)) + " " + std::to_string(rng.range(2008, 2024)); break;
        case 2: name = "Trip to " + std::string(rng.pick(kPlaces)); break;
        case 3: name = named({"raw", "edited", "export", "thumbnails", ".thumbnails", "picks"}); break;
        default: name = capitalised(word(rng)); break;
        }
        break;
    case Theme::Music:
        name = depth % 2 ? "The " + capitalised(word(rng)) + "s" : capitalised(word(rng)) + " " + capitalised(word(rng));
        break;
    case Theme::Code:
        switch (rng.below(8)) {
        case 0:
        case 1: {
            static constexpr const char* pool[] = {"src", "include", "lib", "tests", "build", "docs", "scripts", "vendor",
                                                   "node_modules", ".git", "assets", "dist", "examples", "tools", ".github",
                                                   "__pycache__", "logs", ".vscode", "third_party", "internal"};
            name = rng.pick(pool);
            break;
        }
        case 2: name = "@" + word(rng); break;
        default: name = word(rng) + (rng.chance(0.5) ? "-" : "_") + word(rng); break;
        }
        if (name == ".git" || name == "__pycache__")
            theme = Theme::Cache;
        else if (name == "assets")
            theme = Theme::Photos;
        else if (name == "docs")
            theme = Theme::Documents;
        else if (name == "logs")
            theme = Theme::Logs;
        break;
    case Theme::Cache:
        name = fmt("%02" PRIx64, rng.below(256));
        if (rng.chance(0.05))
            name = fmt("%016" PRIx64, rng.next());
        break;
    case Theme::Documents:
        switch (rng.below(4)) {
        case 0: name = "Taxes " + std::to_string(rng.range(2010, 2024)); break;
        case 1: name = named({"Work", "Invoices", "Letters", "Projets été", "Scans", "School",
                                                           "Contracts", "Receipts", "Old stuff", "Médias"}); break;
        default: name = capitalised(word(rng)) + " " + word(rng); break;
        }
        if (rng.chance(0.05))
            theme = Theme::Photos;
        break;
    case Theme::Logs: name = rng.chance(0.5) ? "archive" : word(rng); break;
    case Theme::Videos: name = capitalised(word(rng)) + " (" + std::to_string(rng.range(1995, 2024)) + ")"; break;
    case Theme::Downloads:
        name = word(rng) + "-" + fmt("%d.%d", int(rng.below(5)), int(rng.below(20)));
        if (rng.chance(0.3))
            theme = Theme::Code; // an unpacked archive
        break;
    case Theme::Generic:
        switch (rng.below(6)) {
        case 0: name = named({"misc", "old", "backup", "New Folder", "archive", "share",
                                                           "icons", "applications", "fonts", "state", ".hidden", "Trash"}); break;
        case 1: name = std::to_string(rng.range(1998, 2024)); break;
        default: name = capitalised(word(rng)); break;
        }
        if (rng.chance(0.1))
            theme = Theme(rng.range(1, 7));
        break;
    }
    if (parent != Theme::Cache && rng.chance(0.02) && name[0] != '.')
        name.insert(0, ".");
    if (rng.chance(1.0 / 20000))
        name += rng.pick(kBadBytes);
    return {visibleIfAsked(std::move(name)), theme};
}

// ---------------------------------------------------------------------------------------------
// Sizes

// How many bytes a file claims. Media folders lean towards bigger files.
uint64_t fileSize(Rng& rng, Theme theme)
{
    const bool media = theme == Theme::Photos || theme == Theme::Music || theme == Theme::Videos ||
                       theme == Theme::Downloads;
    const double r = rng.unit();
    const double big = media ? 0.10 : 0.01;       // 1 MB .. 100 MB
    const double huge = media ? 0.001 : 0.00005;  // 100 MB .. 4 GB
    if (r < huge)
        return rng.logUniform(100ULL << 20, 4ULL << 30);
    if (r < huge + big)
        return rng.logUniform(1ULL << 20, 100ULL << 20);
    if (r < huge + big + 0.12)
        return rng.logUniform(16ULL << 10, 1ULL << 20);
    if (r < huge + big + 0.12 + 0.08)
        return 0;
    return rng.logUniform(1, 16ULL << 10);
}

// ---------------------------------------------------------------------------------------------
// The top level looks like a home folder: dot files, then the usual folders sharing the budget.

constexpr const char* kHomeFiles[] = {".bashrc", ".profile", ".bash_history", ".gitconfig", ".viminfo",
                                      ".lesshst", "notes.txt", "todo.md"};

struct HomeFolder {
    const char* name;
    Theme theme;
    double weight;
};

constexpr HomeFolder kHomeFolders[] = {
    {"projects", Theme::Code, 0.28},     {".cache", Theme::Cache, 0.14},   {"Pictures", Theme::Photos, 0.12},
    {"Documents", Theme::Documents, 0.10}, {".local", Theme::Generic, 0.08}, {"Music", Theme::Music, 0.06},
    {"src", Theme::Code, 0.06},          {"Downloads", Theme::Downloads, 0.05}, {"logs", Theme::Logs, 0.04},
    {".config", Theme::Generic, 0.03},   {"Videos", Theme::Videos, 0.02},  {"Desktop", Theme::Generic, 0.02},
};

// ---------------------------------------------------------------------------------------------
// Building

struct Totals {
    std::atomic<uint64_t> files{0}, folders{0}, symlinks{0}, hardlinks{0};
    std::atomic<uint64_t> apparent{0}, written{0}, failures{0};
    std::atomic<int> deepest{0};
    std::atomic<uint64_t> largestFolder{0};
};

Totals g_totals;
char g_filler[4096];

// A folder still to be filled, for the job queue.
struct Task {
    std::string path;
    uint64_t budget;
    int depth;
    Theme theme;
    uint64_t seed;
    std::vector<std::string> parentFiles;
};

// The most entries a folder at this level may hold in all, so that the deepest level never
// has to take a flood of files: 2,500 at the bottom, four times more for each level above.
uint64_t subtreeCap(int depth)
{
    uint64_t cap = 2500;
    for (int d = depth; d < kMaxDepth && cap < (uint64_t(1) << 50); ++d)
        cap *= 4;
    return cap;
}

// Shares rest entries among the folders: one each for most of them (a few stay empty), the
// remainder by weight, no folder above cap, whatever cannot fit going to the heaviest first.
template <class Sub> void shareBudget(std::vector<Sub>& subs, uint64_t rest, double totalWeight, uint64_t cap, Rng& rng)
{
    if (subs.empty())
        return;
    uint64_t left = rest;
    for (Sub& s : subs)
        if (left > 0 && rng.chance(0.95)) {
            s.budget = 1;
            --left;
        }
    uint64_t spare = left;
    for (Sub& s : subs) {
        const uint64_t add = uint64_t(double(left) * s.weight / totalWeight);
        s.budget += add;
        spare -= std::min(spare, add);
    }
    for (Sub& s : subs)
        if (s.budget > cap) {
            spare += s.budget - cap;
            s.budget = cap;
        }
    std::vector<Sub*> heaviest;
    for (Sub& s : subs)
        heaviest.push_back(&s);
    std::stable_sort(heaviest.begin(), heaviest.end(), [](const Sub* a, const Sub* b) { return a->weight > b->weight; });
    for (Sub* s : heaviest) {
        const uint64_t give = std::min(spare, s->budget < cap ? cap - s->budget : 0);
        s->budget += give;
        spare -= give;
    }
    heaviest.front()->budget += spare; // only when every folder is full
}

class Builder {
public:
    explicit Builder(int jobs) : m_jobs(jobs) {}

    void run(Task root)
    {
        push(std::move(root));
        std::vector<std::thread> threads;
        for (int i = 0; i < m_jobs; ++i)
            threads.emplace_back([this] { work(); });
        for (auto& t : threads)
            t.join();
    }

private:
    void push(Task t)
    {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(t));
            ++m_pending;
        }
        m_cv.notify_one();
    }

    void work()
    {
        for (;;) {
            Task t;
            {
                std::unique_lock lock(m_mutex);
                m_cv.wait(lock, [&] { return !m_queue.empty() || m_pending == 0; });
                if (m_queue.empty())
                    return;
                t = std::move(m_queue.front());
                m_queue.pop_front();
            }
            const int fd = ::open(t.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0) {
                std::fprintf(stderr, "make_tree: cannot open %s: %s\n", t.path.c_str(), std::strerror(errno));
                ++g_totals.failures;
            } else {
                Rng rng{t.seed};
                fill(fd, t.path, t.budget, t.depth, t.theme, rng, t.parentFiles);
                ::close(fd);
            }
            std::lock_guard lock(m_mutex);
            if (--m_pending == 0)
                m_cv.notify_all();
        }
    }

    // Fills the open folder dfd (at path, depth levels below DIR) with exactly budget entries.
    void fill(int dfd, const std::string& path, uint64_t budget, int depth, Theme theme, Rng& rng,
              const std::vector<std::string>& parentFiles)
    {
        if (budget == 0)
            return;
        int deepest = g_totals.deepest.load();
        while (depth > deepest && !g_totals.deepest.compare_exchange_weak(deepest, depth)) {}

        // What lives here: the names of its folders with their share weights, and how many
        // plain entries (files and links).
        struct Sub {
            std::string name;
            Theme theme;
            double weight;
            uint64_t seed = 0;
            uint64_t budget = 0;
        };
        std::vector<Sub> subs;
        std::span<const char* const> fixedFiles;
        uint64_t here;
        if (depth == 0 && budget >= 200) {
            fixedFiles = kHomeFiles;
            here = fixedFiles.size();
            for (const HomeFolder& f : kHomeFolders)
                subs.push_back({visibleIfAsked(f.name), f.theme, f.weight});
        } else {
            if (depth >= kMaxDepth || budget <= rng.range(4, 60))
                here = budget;
            else if (budget > 8000 && rng.chance(0.01))
                here = rng.range(1500, std::min<uint64_t>(6000, budget / 2)); // a big flat folder
            else {
                const double mean = theme == Theme::Photos ? 60 : theme == Theme::Music ? 12
                                  : theme == Theme::Cache ? 4 : theme == Theme::Code ? 9 : 14;
                here = std::min(budget - 1, rng.geometric(mean));
            }
            const uint64_t rest = budget - here;
            if (rest > 0) {
                const uint64_t wide = theme == Theme::Cache && depth >= 2 ? rng.range(16, 256) : 1 + rng.geometric(4.0);
                // Leave the folders enough to hold something, a few entries each on average,
                // and have enough of them that none holds more than its level allows.
                uint64_t n = std::min({wide, std::max<uint64_t>(1, rest / 8), uint64_t(300)});
                n = std::min(rest, std::max(n, (rest + subtreeCap(depth + 1) - 1) / subtreeCap(depth + 1)));
                for (uint64_t i = 0; i < n; ++i) {
                    auto [name, subTheme] = folderName(rng, theme, depth + 1);
                    subs.push_back({std::move(name), subTheme, std::pow(-std::log(1.0 - rng.unit()), 1.2)});
                }
            }
        }
        const uint64_t size = here + subs.size();
        uint64_t largest = g_totals.largestFolder.load();
        while (size > largest && !g_totals.largestFolder.compare_exchange_weak(largest, size)) {}

        // Folders first, so that links can point at them. Each gets its own random stream and
        // a skewed share of what is left.
        double total = 0;
        for (Sub& s : subs) {
            const std::string base = s.name;
            for (int clash = 2; ::mkdirat(dfd, s.name.c_str(), 0755) != 0; ++clash) {
                if (errno != EEXIST) {
                    std::fprintf(stderr, "make_tree: mkdir %s/%s: %s\n", path.c_str(), s.name.c_str(),
                                 std::strerror(errno));
                    std::exit(1);
                }
                s.name = base + " " + std::to_string(clash);
            }
            ++g_totals.folders;
            s.seed = rng.next();
            total += s.weight;
        }
        shareBudget(subs, budget - size, total, subtreeCap(depth + 1), rng);

        std::vector<std::string> files; // regular files made here, for links
        for (uint64_t i = 0; i < here; ++i) {
            const std::string_view folder = subs.empty() ? std::string_view() : subs[rng.below(subs.size())].name;
            if (i < fixedFiles.size())
                makeEntry(dfd, Name{fixedFiles[i], ""}, Theme::Generic, rng, files, folder, parentFiles, true);
            else
                makeEntry(dfd, fileName(rng, theme, i), theme, rng, files, folder, parentFiles, false);
        }

        for (const Sub& s : subs) {
            if (s.budget > kTaskBudget && m_jobs > 1) {
                push(Task{path + "/" + s.name, s.budget, depth + 1, s.theme, s.seed, files});
                continue;
            }
            const int sub = ::openat(dfd, s.name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (sub < 0) {
                std::fprintf(stderr, "make_tree: open %s/%s: %s\n", path.c_str(), s.name.c_str(), std::strerror(errno));
                std::exit(1);
            }
            Rng subRng{s.seed};
            fill(sub, path + "/" + s.name, s.budget, depth + 1, s.theme, subRng, files);
            ::close(sub);
        }
    }

    // Makes one file, symbolic link or hard link in dfd.
    void makeEntry(int dfd, const Name& name, Theme theme, Rng& rng, std::vector<std::string>& files,
                   std::string_view someFolder, const std::vector<std::string>& parentFiles, bool plainFile)
    {
        const double drawn = plainFile ? 1.0 : rng.unit();
        const double kind = g_links ? drawn : 1.0;
        std::string full;
        for (int clash = 1;; ++clash) {
            full = clash == 1 ? name.stem + name.ext : name.stem + " (" + std::to_string(clash) + ")" + name.ext;
            int rc;
            if (kind < 0.010) {
                rc = ::symlinkat(linkTarget(rng, files, someFolder, parentFiles).c_str(), dfd, full.c_str());
                if (rc == 0) {
                    ++g_totals.symlinks;
                    return;
                }
            } else if (kind < 0.016 && (!files.empty() || !parentFiles.empty())) {
                const bool up = files.empty() || (!parentFiles.empty() && rng.chance(0.3));
                const std::string source = up ? "../" + parentFiles[rng.below(parentFiles.size())]
                                              : files[rng.below(files.size())];
                rc = ::linkat(dfd, source.c_str(), dfd, full.c_str(), 0);
                if (rc == 0) {
                    ++g_totals.hardlinks;
                    return;
                }
            } else {
                const int fd = ::openat(dfd, full.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
                if (fd >= 0) {
                    writeFile(fd, fileSize(rng, theme), rng);
                    ::close(fd);
                    ++g_totals.files;
                    if (files.size() < kRememberedFiles)
                        files.push_back(full);
                    return;
                }
                rc = -1;
            }
            if (rc != 0 && errno != EEXIST) {
                ++g_totals.failures;
                if (g_totals.failures < 10)
                    std::fprintf(stderr, "make_tree: %s: %s\n", full.c_str(), std::strerror(errno));
                return;
            }
        }
    }

    static std::string linkTarget(Rng& rng, const std::vector<std::string>& files, std::string_view someFolder,
                                  const std::vector<std::string>& parentFiles)
    {
        const uint64_t r = rng.below(10);
        if (r < 4 && !files.empty())
            return files[rng.below(files.size())];            // a file beside it
        if (r < 6 && !someFolder.empty())
            return std::string(someFolder);                   // a folder beside it
        if (r < 7 && !parentFiles.empty())
            return "../" + parentFiles[rng.below(parentFiles.size())];
        if (r < 8)
            return rng.chance(0.5) ? ".." : "../..";          // back up the tree
        if (r < 9)
            return rng.chance(0.5) ? "/usr/share/doc" : "/etc/hostname"; // out of the tree
        return fmt("missing-target-%" PRIu64, rng.below(1000)); // dangling
    }

    // Gives fd its length. One file in five gets a few real bytes (one block on disk), large
    // files a full first block; the rest of the length stays a hole.
    static void writeFile(int fd, uint64_t size, Rng& rng)
    {
        if (size == 0)
            return;
        uint64_t real = 0;
        if (size >= (1ULL << 20))
            real = sizeof g_filler;
        else if (rng.chance(0.2))
            real = std::min<uint64_t>(size, rng.range(1, 512));
        if (real > 0) {
            const ssize_t n = ::write(fd, g_filler, size_t(real));
            if (n > 0)
                g_totals.written += uint64_t(n);
        }
        if (size > real && ::ftruncate(fd, off_t(size)) != 0)
            ++g_totals.failures;
        g_totals.apparent += size;
    }

    int m_jobs;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Task> m_queue;
    uint64_t m_pending = 0;
};

std::string human(double bytes)
{
    const char* units[] = {"B", "KiB", "MiB", "GiB", "TiB", "PiB"};
    int u = 0;
    while (bytes >= 1024 && u < 5) {
        bytes /= 1024;
        ++u;
    }
    return fmt("%.1f %s", bytes, units[u]);
}

[[noreturn]] void usage()
{
    std::fprintf(stderr, "usage: make_tree [--seed N] [--jobs N] [--no-hidden-folders] [--no-links] DIR [ENTRIES]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv)
{
    uint64_t seed = 42;
    uint64_t entries = 1000000;
    uint64_t jobs = 2;
    std::vector<const char*> positional;
    auto number = [&](int& i) {
        if (i + 1 >= argc)
            usage();
        char* end = nullptr;
        const unsigned long long v = std::strtoull(argv[++i], &end, 10);
        if (end == argv[i] || *end)
            usage();
        return uint64_t(v);
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--seed")
            seed = number(i);
        else if (a == "--jobs")
            jobs = std::clamp<uint64_t>(number(i), 1, 64);
        else if (a == "--no-hidden-folders")
            g_hiddenFolders = false;
        else if (a == "--no-links")
            g_links = false;
        else if (a.starts_with("--") || a == "-h")
            usage();
        else
            positional.push_back(argv[i]);
    }
    if (positional.empty() || positional.size() > 2)
        usage();
    const std::string dir = positional[0];
    if (positional.size() == 2) {
        char* end = nullptr;
        entries = std::strtoull(positional[1], &end, 10);
        if (end == positional[1] || *end)
            usage();
    }

    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "make_tree: cannot create %s: %s\n", dir.c_str(), std::strerror(errno));
        return 1;
    }
    const int root = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) {
        std::fprintf(stderr, "make_tree: cannot open %s: %s\n", dir.c_str(), std::strerror(errno));
        return 1;
    }
    // Refuse to mix with whatever is already there, or with another make_tree filling it.
    if (::flock(root, LOCK_EX | LOCK_NB) != 0) {
        std::fprintf(stderr, "make_tree: %s is being filled by another process\n", dir.c_str());
        return 1;
    }
    if (DIR* d = ::fdopendir(::dup(root))) {
        int seen = 0;
        while (const dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                ++seen;
        ::closedir(d);
        if (seen) {
            std::fprintf(stderr, "make_tree: %s is not empty\n", dir.c_str());
            return 1;
        }
    }

    for (size_t i = 0; i < sizeof g_filler; ++i)
        g_filler[i] = "Quorvel benchmark filler line.\n"[i % 31];

    const auto started = std::chrono::steady_clock::now();
    Builder builder{int(jobs)};
    builder.run(Task{dir, entries, 0, Theme::Generic, Rng{seed}.next(), {}});
    // Push everything to disk now, so that write-back does not run into the first benchmark.
    ::syncfs(root);
    ::close(root);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    const Totals& t = g_totals;
    const uint64_t made = t.files + t.folders + t.symlinks + t.hardlinks;
    std::printf("%" PRIu64 " entries: %" PRIu64 " files, %" PRIu64 " folders, %" PRIu64 " symbolic links, %" PRIu64
                " hard links; %s apparent, %s written; %d folder levels, largest folder %" PRIu64
                " entries; %.1f s\n",
                made, t.files.load(), t.folders.load(), t.symlinks.load(), t.hardlinks.load(),
                human(double(t.apparent)).c_str(), human(double(t.written)).c_str(), t.deepest.load(),
                t.largestFolder.load(), seconds);
    if (t.failures) {
        std::fprintf(stderr, "make_tree: %" PRIu64 " entries could not be made\n", t.failures.load());
        return 1;
    }
    return made == entries ? 0 : 1;
}
