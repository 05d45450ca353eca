#include "settings/TypeCatalog.h"

#include "settings/CommonFuncs.h"
#include "settings/Log.h"
#include "settings/Paths.h"
#include "settings/Plist.h"

#include <QFileInfo>

namespace {

struct DefaultGroupText {
    const char* nameKey;
    const char* extensions; // separated by blanks
};

// The sixteen default groups, each extension in exactly one group. The last group gathers
// files without an extension ("") and those whose extension reads "Unknown".
const DefaultGroupText kDefaultGroups[] = {
    {"ID_AUDIO_FILES",
     "ape snd aif s3m aiff dm ram cda mpa mp2 au wav mp3 all iff m4p m3u mid ra aud ogg ses m4a dss "
     "wma dvf midi m4b mso amr audiocd psm"},
    {"ID_VIDEO_FILES",
     "mts avi hdmov tod 3gpp asx mpg mkv ts mod nsv div xvid m4v wmv 3gp srt dat mov swf ogm f4v 3g2 "
     "rm divx wrap m2ts vob ogv mp4 ifo mpeg mpeg4 dv asf rmvb flv mpe 3g qt bsf"},
    {"ID_DOCUMENT_FILES",
     "ged msg wb2 odt sxw key psw dif jtd xml uos dotm doc pps pptx uot uof stw ppt jtt 123 xltx vcf "
     "sdp docm hwp wri xlr keychain rtf dot pxl sdc xlsm xls gbr ott sdd xlt txt potm cgm odm wpd wks "
     "oth sdf dotx wps tax2012 slk sgl tax2014 pages pdf xlw vor csv pptm tex chm docx sdw xltm xlsx "
     "wk1 sxg uop xlsb 602 potx hlp pot"},
    {"ID_IMAGE_FILES",
     "wmf dcx eps vda yuv tiff jpeg epf sgf ras cdr sda pdn tif ai pcd jpe iges sgv bmp plt pict indd "
     "sct qxd pct jpg ps svg tga raw pic pdd emf rle thm ico cr2 vst pspimage icb ppm psd pcx pbm ofx "
     "wmp pxr dib pgm xpm xbm cur png svm dds met gif pub icns"},
    {"ID_FINANCIAL_FILES",
     "t07 mny t02 tax qdf t05 qbb t08 t03 tax2009 qbw qph t06 t01 qsd t09 t04 qel"},
    {"ID_EBOOKS",
     "azw mobi epub"},
    {"ID_COMPRESSED_FILES",
     "tz deb hqx zip tgz zalz mim 7z ace sitx pkg arj lha lzh gz taz rar uu xxe cab cbr tar rpm zipx "
     "arc bhx"},
    {"ID_JUNK_FILES",
     "fic sik fts nch xlk syd dir bak --- nav tmp dmp wbk ftg err old $$$ prv _mp chk log ms gid dd_ "
     "nu3"},
    {"ID_SOURCE_CODE_FILES",
     "vcxproj xcodeproj c class swift asp sln cpp py h js pas cls phs fla sh htm aspx frm pl dtd rss m "
     "cs bas html lsp java jsp lua phtml php rc xib css o"},
    {"ID_DATABASE_FILES",
     "myi myd sdb pdi db pdb wdb accdb sql mdb dbf nsf ldf odb"},
    {"ID_TEXT_DOCUMENTS",
     "ans ini asc strings"},
    {"ID_EXC_LIB_OBJ_CODE",
     "ocx wsf coff jar cgi com dll app gadget apk pif tlb exe vb bat dcu"},
    {"ID_DISK_IMG_MEDIA_ARC",
     "mdf img iso adf toast tib bin cue vcd nrg dmg"},
    {"ID_CAD_3D_FILES",
     "3ds asm obj prt ipt dft x max dgn an8 c4d idw u3d 3dm dwg par ipn dxf"},
    {"ID_FONT_FILES",
     "bdf snf pcf fnt pfb fon otf pfm tfm ttc afm ttf"},

};

TypeGroups& loaded()
{
    static TypeGroups groups;
    return groups;
}
bool g_lastLoadSucceeded = false;

std::function<void(const TypeGroups&)>& loadedHandler()
{
    static std::function<void(const TypeGroups&)> handler;
    return handler;
}

QStringList extensionsOf(const QVariant& value)
{
    QStringList out;
    if (value.typeId() != QMetaType::QVariantList)
        return out;
    for (const QVariant& item : value.toList())
        if (item.typeId() == QMetaType::QString)
            out.append(item.toString());
    return out;
}

QVariantList toVariantList(const QStringList& list)
{
    QVariantList out;
    out.reserve(list.size());
    for (const QString& s : list)
        out.append(s);
    return out;
}

std::optional<Plist::OrderedDict> readEntries(QString* error)
{
    return Plist::readOrderedDictionary(TypeCatalog::filePath(), error);
}

bool writeEntries(const Plist::OrderedDict& entries, const char* what)
{
    QString why;
    if (Plist::writeOrderedDictionary(TypeCatalog::filePath(), entries, &why))
        return true;
    qvlog(QStringLiteral("%1: cannot write %2: %3").arg(QLatin1String(what), TypeCatalog::filePath(), why));
    return false;
}

// Reads the catalog for a change; logs and answers nothing when it cannot be read, so the
// caller changes nothing.
std::optional<Plist::OrderedDict> readForChange(const char* what)
{
    QString why;
    std::optional<Plist::OrderedDict> entries = readEntries(&why);
    if (!entries)
        qvlog(QStringLiteral("%1: the type catalog cannot be read, nothing changed (%2)").arg(QLatin1String(what), why));
    return entries;
}

qsizetype indexOfName(const Plist::OrderedDict& entries, const QString& name)
{
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i].first == name)
            return i;
    return -1;
}

} // namespace

// ---------------------------------------------------------------- TypeCatalog

QString TypeCatalog::filePath() { return Paths::inDocuments(QStringLiteral("file_extns.plist")); }

const QList<TypeCatalog::DefaultGroup>& TypeCatalog::defaultGroupDefinitions()
{
    static const QList<DefaultGroup> groups = [] {
        QList<DefaultGroup> out;
        for (const DefaultGroupText& g : kDefaultGroups) {
            QStringList extensions = QString::fromLatin1(g.extensions).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            out.append({g.nameKey, extensions});
        }
        // The group of files without an extension.
        out.append({"ID_WITHOUT_EXT", QStringList{QLatin1String(""), QStringLiteral("Unknown")}});
        return out;
    }();
    return groups;
}

TypeGroups TypeCatalog::defaultGroups()
{
    TypeGroups out;
    for (const DefaultGroup& g : defaultGroupDefinitions())
        out.append({CommonFuncs::getLocalizedStringForKey(QLatin1String(g.nameKey)), g.extensions});
    return out;
}

bool TypeCatalog::makeExtnFile()
{
    Plist::OrderedDict entries;
    for (const TypeGroup& g : defaultGroups())
        entries.append({g.name, toVariantList(g.extensions)});
    return writeEntries(entries, "makeExtnFile");
}

std::optional<TypeGroups> TypeCatalog::readCatalogFile(QString* error)
{
    const std::optional<Plist::OrderedDict> entries = readEntries(error);
    if (!entries)
        return std::nullopt;
    TypeGroups groups;
    groups.reserve(entries->size());
    for (const auto& [name, value] : *entries)
        groups.append({name, extensionsOf(value)});
    return groups;
}

void TypeCatalog::readAndUpdateGlobalsForParsing()
{
    if (!QFileInfo::exists(filePath()))
        makeExtnFile();
    QString why;
    std::optional<TypeGroups> groups = readCatalogFile(&why);
    g_lastLoadSucceeded = groups.has_value();
    if (!groups)
        qvlog(QStringLiteral("readAndUpdateGlobalsForParsing: the type catalog cannot be read, no groups loaded (%1)").arg(why));
    loaded() = groups ? std::move(*groups) : TypeGroups();
    if (loadedHandler())
        loadedHandler()(loaded());
}

void TypeCatalog::resetCustomSettings()
{
    qvlog(QStringLiteral("resetCustomSettings"));
    makeExtnFile();
    readAndUpdateGlobalsForParsing();
}

const TypeGroups& TypeCatalog::loadedGroups() { return loaded(); }

bool TypeCatalog::lastLoadSucceeded() { return g_lastLoadSucceeded; }

void TypeCatalog::setGroupsLoadedHandler(std::function<void(const TypeGroups&)> handler)
{
    loadedHandler() = std::move(handler);
}

// ---------------------------------------------------------------- CustomTypeFilter

QList<CustomTypeFilterRow> CustomTypeFilter::readCustomTypeFilter()
{
    QList<CustomTypeFilterRow> rows;
    const std::optional<TypeGroups> groups = TypeCatalog::readCatalogFile();
    if (!groups)
        return rows;
    const QString withoutExtension = CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_WITHOUT_EXT"));
    for (const TypeGroup& g : *groups)
        if (g.name != withoutExtension)
            rows.append({g.name, stringObjectFromArrayOfStrings(g.extensions)});
    return rows;
}

QString CustomTypeFilter::stringObjectFromArrayOfStrings(const QStringList& extensions)
{
    return extensions.join(QLatin1Char(','));
}

QStringList CustomTypeFilter::arrayObjectFromFilterTypeString(const QString& text)
{
    return text.split(QLatin1Char(','), Qt::KeepEmptyParts);
}

bool CustomTypeFilter::isFilterExist(const QString& name)
{
    const std::optional<Plist::OrderedDict> entries = readEntries(nullptr);
    if (!entries)
        return false;
    const QString wanted = name.trimmed().toLower();
    for (const auto& entry : *entries)
        if (entry.first.toLower() == wanted)
            return true;
    return false;
}

bool CustomTypeFilter::addNewCustomTypeFilter(const QString& name, const QString& filterFileTypes)
{
    std::optional<Plist::OrderedDict> entries = readForChange("addNewCustomTypeFilter");
    if (!entries)
        return false;
    const QVariant value = toVariantList(arrayObjectFromFilterTypeString(filterFileTypes));
    if (const qsizetype at = indexOfName(*entries, name); at >= 0)
        (*entries)[at].second = value;
    else
        entries->append({name, value});
    return writeEntries(*entries, "addNewCustomTypeFilter");
}

bool CustomTypeFilter::updateCustomTypeFilterFile(const QString& name, const QString& types)
{
    std::optional<Plist::OrderedDict> entries = readForChange("updateCustomTypeFilterFile");
    if (!entries)
        return false;
    if (const qsizetype at = indexOfName(*entries, name); at >= 0)
        (*entries)[at].second = toVariantList(arrayObjectFromFilterTypeString(types));
    return writeEntries(*entries, "updateCustomTypeFilterFile");
}

bool CustomTypeFilter::deleteCustomTypeFilter(const QString& name)
{
    std::optional<Plist::OrderedDict> entries = readForChange("deleteCustomTypeFilter");
    if (!entries)
        return false;
    if (const qsizetype at = indexOfName(*entries, name); at >= 0)
        entries->removeAt(at);
    return writeEntries(*entries, "deleteCustomTypeFilter");
}
