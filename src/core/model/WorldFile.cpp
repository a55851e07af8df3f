#include "core/model/WorldFile.h"

#include "core/model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// One field of a record: its name and the member it lives in. Exactly one of
// the member pointers is set; the tables below give each record's fields in
// file order, for writing and reading alike.
template <class R> struct Field {
    const char *name;
    QString R::*text = nullptr;
    float R::*single = nullptr;
    int32_t R::*whole = nullptr;
    bool R::*flag = nullptr;
};

template <class R> constexpr Field<R> field(const char *name, QString R::*m)
{
    return {name, m, nullptr, nullptr, nullptr};
}
template <class R> constexpr Field<R> field(const char *name, float R::*m)
{
    return {name, nullptr, m, nullptr, nullptr};
}
template <class R> constexpr Field<R> field(const char *name, int32_t R::*m)
{
    return {name, nullptr, nullptr, m, nullptr};
}
template <class R> constexpr Field<R> field(const char *name, bool R::*m)
{
    return {name, nullptr, nullptr, nullptr, m};
}

using O = ObjectInfo;
const Field<O> objectFields[] = {
    field("name", &O::Name),         field("x position", &O::X),           field("y position", &O::Y),
    field("rotation", &O::Rotation), field("link", &O::Anchor), field("link target", &O::Target),
};

using P = PictureInfo;
const Field<P> pictureFields[] = {
    field("x position", &P::X),
    field("y position", &P::Y),
    field("height off the ground", &P::OffGround),
    field("width", &P::Width),
    field("height", &P::Height),
    field("rotation", &P::Rotation),
    field("turn-to-viewer setting", &P::Billboard),
    field("file name", &P::FileName),
    field("link", &P::Anchor),
    field("link target", &P::Target),
};

using T = TextInfo;
const Field<T> textFields[] = {
    field("text", &T::Text),
    field("x position", &T::X),
    field("y position", &T::Y),
    field("colour", &T::Color),
    field("rotation", &T::Rotation),
    field("kind", &T::Kind),
    field("turn-to-viewer setting", &T::Billboard),
    field("link", &T::Anchor),
    field("spare field", &T::Spare),
    field("link target", &T::Target),
};

using C = CubeInfo;
const Field<C> cubeFields[] = {
    field("kind", &C::Kind), field("first x corner", &C::X1), field("second x corner", &C::X2),
    field("first y corner", &C::Y1),     field("second y corner", &C::Y2), field("colour", &C::Color),
};

// ---------------------------------------------------------------- writing

class Writer {
public:
    explicit Writer(const QLocale &locale) : m_point(NumberText::decimalPoint(locale)) {}

    void text(const QString &s)
    {
        // A TAB would split the field in two and shift every later one, and a
        // NUL would make the file binary data to the reader.
        const auto unfit = [](QChar c) { return c == QLatin1Char('\t') || c.isNull(); };
        if (std::any_of(s.begin(), s.end(), unfit)) {
            QString field = s;
            std::replace_if(field.begin(), field.end(), unfit, QLatin1Char(' '));
            m_out += field;
        } else {
            m_out += s;
        }
        m_out += QLatin1Char('\t');
    }
    void single(float v) { end(NumberText::formatSingle(v, m_point)); }
    void real(double v) { end(NumberText::formatDouble(v, m_point)); }
    void whole(int32_t v) { end(NumberText::formatLong(v)); }
    void flag(bool v) { end(NumberText::formatBoolean(v)); }

    template <class R, size_t N>
    void block(const std::vector<R> &items, const Field<R> (&fields)[N])
    {
        // An array is never empty; should one be, it is written as the one
        // blank element it stands for, so the file still loads.
        static const R blank{};
        const bool empty = items.empty();
        whole(empty ? 0 : upperBound(items));
        for (size_t i = 0; i < (empty ? 1 : items.size()); ++i) {
            const R &r = empty ? blank : items[i];
            for (const Field<R> &f : fields) {
                if (f.text)
                    text(r.*f.text);
                else if (f.single)
                    single(r.*f.single);
                else if (f.whole)
                    whole(r.*f.whole);
                else
                    flag(r.*f.flag);
            }
        }
    }

    void reserve(qsizetype n) { m_out.reserve(n); }

    QString finish()
    {
        m_out.chop(1); // the TAB after the last field
        return std::move(m_out);
    }

private:
    void end(const QString &s)
    {
        m_out += s;
        m_out += QLatin1Char('\t');
    }

    QString m_out;
    QChar m_point;
};

// ---------------------------------------------------------------- reading

// A kind of record, as an error message names it.
struct RecordKind {
    const char *one;
    const char *many;
};
constexpr RecordKind ObjectRecords{"3-D object", "3-D objects"};
constexpr RecordKind PictureRecords{"picture", "pictures"};
constexpr RecordKind TextRecords{"text", "texts"};
constexpr RecordKind CubeRecords{"wall or surface", "walls and surfaces"};

// What a token stands for, in the words of an error message: "the zoom",
// "the colour of text 2", "the number of pictures".
struct FieldName {
    const char *field;                // nullptr: the count of a block
    const RecordKind *kind = nullptr; // for record fields and counts
    int index = -1;                   // the record's index

    QString toString() const
    {
        if (!kind)
            return QStringLiteral("the %1").arg(QLatin1String(field));
        if (!field)
            return QStringLiteral("the number of %1").arg(QLatin1String(kind->many));
        return QStringLiteral("the %1 of %2 %3")
            .arg(QLatin1String(field), QLatin1String(kind->one))
            .arg(index + 1);
    }
    // Where a file that ends too early stops: "before the music setting".
    QString before() const
    {
        return QStringLiteral("before ") + toString() +
               (kind ? QString() : QStringLiteral(" setting"));
    }
};

FieldName header(const char *field) { return {field}; }

class Reader {
public:
    Reader(const QString &text, const QLocale &locale)
        : m_text(text), m_locale(NumberText::strictLocale(locale)),
          m_count(text.count(QLatin1Char('\t')) + 1)
    {}

    QString error;

    qsizetype remaining() const { return m_count - m_index; }

    bool text(QString &out, const FieldName &name)
    {
        const auto token = next(name);
        if (!token)
            return false;
        out = token->toString();
        return true;
    }
    bool single(float &out, const FieldName &name)
    {
        const auto token = next(name);
        return token && toSingle(*token, out, name);
    }
    bool real(double &out, const FieldName &name)
    {
        const auto token = next(name);
        return token && toReal(*token, out, name);
    }
    bool whole(int32_t &out, const FieldName &name)
    {
        const auto token = next(name);
        return token && toWhole(*token, out, name);
    }
    bool flag(bool &out, const FieldName &name)
    {
        const auto token = next(name);
        return token && toFlag(*token, out, name);
    }

    // A scroll position is stored as value / maximum of its scroll bar.
    bool fraction(double &out, const FieldName &name)
    {
        const auto token = next(name);
        if (!token || !toReal(*token, out, name))
            return false;
        if (out >= 0 && out <= 1)
            return true;
        return fail(name, *token, QStringLiteral("is not between 0 and 1"));
    }

    // Reads an array: its upper bound, then every record. The bound is
    // checked against what is left of the file before anything is reserved.
    template <class R, size_t N>
    bool block(std::vector<R> &items, const RecordKind &kind, const Field<R> (&fields)[N])
    {
        const FieldName countName{nullptr, &kind};
        const auto token = next(countName);
        int32_t bound = 0;
        if (!token || !toWhole(*token, bound, countName))
            return false;
        if (bound < 0)
            return fail(countName, *token, QStringLiteral("is negative"));
        const qint64 records = qint64(bound) + 1;
        if (records * qint64(N) > remaining()) {
            error = QStringLiteral("the file ends too early: it announces %1 %2, but only %3 "
                                   "more values follow")
                        .arg(records)
                        .arg(QLatin1String(records == 1 ? kind.one : kind.many))
                        .arg(remaining());
            return false;
        }
        items.assign(size_t(records), R{});
        for (size_t i = 0; i < items.size(); ++i) {
            R &r = items[i];
            for (const Field<R> &f : fields) {
                const FieldName name{f.name, &kind, int(i)};
                const bool ok = f.text     ? text(r.*f.text, name)
                                : f.single ? single(r.*f.single, name)
                                : f.whole  ? whole(r.*f.whole, name)
                                           : flag(r.*f.flag, name);
                if (!ok)
                    return false;
            }
        }
        return true;
    }

private:
    std::optional<QStringView> next(const FieldName &name)
    {
        if (m_index >= m_count) {
            error = m_text.isEmpty()
                        ? QStringLiteral("the file is empty")
                        : QStringLiteral("the file ends too early, ") + name.before();
            return std::nullopt;
        }
        qsizetype end = m_text.indexOf(QLatin1Char('\t'), m_pos);
        if (end < 0)
            end = m_text.size();
        const QStringView token = m_text.mid(m_pos, end - m_pos);
        m_pos = end + 1;
        ++m_index;
        return token;
    }

    bool toSingle(QStringView token, float &out, const FieldName &name)
    {
        if (const auto v = NumberText::toSingle(token, m_locale)) {
            out = *v;
            return true;
        }
        return fail(name, token,
                    NumberText::toDouble(token, m_locale) ? QStringLiteral("is too large")
                                                          : QStringLiteral("is not a number"));
    }

    bool toReal(QStringView token, double &out, const FieldName &name)
    {
        const auto v = NumberText::toDouble(token, m_locale);
        if (!v)
            return fail(name, token, QStringLiteral("is not a number"));
        // Written to 15 digits, the largest doubles would round up beyond the
        // range and the saved file would not load again.
        if (std::fabs(*v) >= 1e308)
            return fail(name, token, QStringLiteral("is too large"));
        out = *v;
        return true;
    }

    bool toWhole(QStringView token, int32_t &out, const FieldName &name)
    {
        if (const auto v = NumberText::toLong(token, m_locale)) {
            out = *v;
            return true;
        }
        return fail(name, token,
                    NumberText::toDouble(token, m_locale)
                        ? QStringLiteral("is too large for a whole number")
                        : QStringLiteral("is not a whole number"));
    }

    bool toFlag(QStringView token, bool &out, const FieldName &name)
    {
        if (const auto v = NumberText::toBoolean(token, m_locale)) {
            out = *v;
            return true;
        }
        return fail(name, token, QStringLiteral("is neither True, False nor a number"));
    }

    // Reports the value just read: which setting, what is wrong, the value.
    bool fail(const FieldName &name, QStringView token, const QString &why)
    {
        error = QStringLiteral("%1 %2: \"%3\"").arg(name.toString(), why, shortened(token));
        return false;
    }

    // A damaged file may hold anything; keep the message readable.
    static QString shortened(QStringView token)
    {
        constexpr qsizetype limit = 40;
        if (token.size() <= limit)
            return token.toString();
        return token.left(limit).toString() + QStringLiteral("...");
    }

    QStringView m_text;
    QLocale m_locale;
    qsizetype m_count;
    qsizetype m_pos = 0;
    qsizetype m_index = 0;
};

} // namespace

namespace WorldFile {

QString format(const World &world, const ScrollFractions &fractions, const QLocale &locale)
{
    Writer w(locale);
    // About 8 characters per field is typical; a good guess saves regrowing.
    w.reserve(64 + 8 * qsizetype(world.Objects.size() * 6 + world.Pictures.size() * 10 +
                                 world.Texts.size() * 10 + world.Cubes.size() * 6));
    w.text(world.Sky);
    w.text(world.Music);
    w.text(world.Ground);
    w.whole(world.Zoom);
    w.real(fractions.vertical);
    w.real(fractions.horizontal);
    w.real(world.StartPosX);
    w.real(world.StartPosY);
    w.real(world.StartAngle);
    w.block(world.Objects, objectFields);
    w.block(world.Pictures, pictureFields);
    w.block(world.Texts, textFields);
    w.block(world.Cubes, cubeFields);
    return w.finish();
}

WorldRead parse(const QString &text, const QLocale &locale)
{
    WorldRead result;
    World &world = result.world;
    Reader r(text, locale);
    const bool ok = r.text(world.Sky, header("sky")) && r.text(world.Music, header("music")) &&
                    r.text(world.Ground, header("ground")) && r.whole(world.Zoom, header("zoom")) &&
                    r.fraction(result.fractions.vertical, header("vertical scroll position")) &&
                    r.fraction(result.fractions.horizontal, header("horizontal scroll position")) &&
                    r.real(world.StartPosX, header("start position x")) &&
                    r.real(world.StartPosY, header("start position y")) &&
                    r.real(world.StartAngle, header("start angle")) &&
                    r.block(world.Objects, ObjectRecords, objectFields) &&
                    r.block(world.Pictures, PictureRecords, pictureFields) &&
                    r.block(world.Texts, TextRecords, textFields) &&
                    r.block(world.Cubes, CubeRecords, cubeFields);
    // Tokens after the last record are ignored.
    if (!ok)
        return WorldRead{World(), ScrollFractions(), r.error};
    return result;
}

Status save(const QString &path, const World &world, const ScrollFractions &fractions)
{
    return Files::writeTextFile(path, format(world, fractions));
}

WorldRead load(const QString &path)
{
    const TextRead file = Files::readTextFile(path);
    if (!file.ok())
        return WorldRead{World(), ScrollFractions(), file.error};
    WorldRead result = parse(file.text);
    if (!result.ok())
        result.error = Files::cannot("load", path, result.error);
    return result;
}

} // namespace WorldFile
