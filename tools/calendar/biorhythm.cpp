#include "biorhythm.h"

#include <algorithm>

#include "archive_stream.h"
#include "atomic_file.h"
#include "unreadable_file.h"

namespace {

constexpr std::u16string_view kNewPersonName = u"No name";
constexpr std::u16string_view kNewPersonBirth = u"01/01/1980";
constexpr std::u16string_view kUnreadableBirthText = u"1/1/1982";
// Person and advice files are small; anything larger is not read into memory.
constexpr std::uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;

StoredDate storedDateOf(const CalendarFields& fields)
{
    const StoredDate date{fields.year, fields.month, fields.day};
    return date.isValid() ? date : StoredDate::invalid();
}

std::u16string format(DateOrder order, StoredDate date)
{
    return formatDate(order, {date.year, date.month, date.day});
}

}  // namespace

BioPersonList readBioPersons(std::string_view bytes, bool* readInFull)
{
    BioPersonList list;
    ArchiveReader reader(bytes);
    std::int32_t count = 0;
    std::int32_t selected = -1;
    bool complete = bytes.empty();
    if (reader.readI32(count) && reader.readI32(selected)) {
        // Every person the file holds is read, whatever the count says.
        complete = true;
        while (!reader.atEnd()) {
            BioPerson person;
            if (!reader.readString(person.name) || !reader.readString(person.birth)) {
                complete = false;
                break;
            }
            list.persons.push_back(std::move(person));
        }
        complete = complete && count >= 0 && static_cast<std::size_t>(count) == list.persons.size();
    }
    const bool inRange = selected >= 0 && static_cast<std::size_t>(selected) < list.persons.size();
    list.selected = inRange ? selected : -1;
    if (readInFull)
        *readInFull = complete;
    return list;
}

std::string writeBioPersons(const BioPersonList& list)
{
    ArchiveWriter writer;
    writer.writeI32(static_cast<std::int32_t>(list.persons.size()));
    writer.writeI32(list.selected);
    for (const BioPerson& person : list.persons) {
        writer.writeString(person.name);
        writer.writeString(person.birth);
    }
    return writer.take();
}

StoredDate birthDateOfText(std::u16string_view birth)
{
    const auto parts = parseDate(birth, DateOrder::MonthFirst);
    if (!parts)
        return StoredDate::invalid();
    const StoredDate date{parts->year, parts->month, parts->day};
    return date.isValid() ? date : StoredDate::invalid();
}

StoredDate typedDate(std::u16string_view text, DateOrder order)
{
    std::u16string slashed(text);
    const bool digitsOnly = slashed.size() == 8 && std::all_of(slashed.begin(), slashed.end(),
                                                               [](char16_t c) { return c >= u'0' && c <= u'9'; });
    if (digitsOnly) {
        slashed.insert(4, 1, u'/');
        slashed.insert(2, 1, u'/');
    }
    std::replace_if(
        slashed.begin(), slashed.end(), [](char16_t c) { return c == u'-' || c == u'.'; }, u'/');
    // Three numbers and nothing else: the reading alone would ignore trailing text.
    const bool plain =
        std::all_of(slashed.begin(), slashed.end(), [](char16_t c) { return c == u'/' || (c >= u'0' && c <= u'9'); });
    if (!plain || std::count(slashed.begin(), slashed.end(), u'/') != 2 || slashed.back() == u'/')
        return StoredDate::invalid();
    const auto parts = parseDate(slashed, order);
    if (!parts)
        return StoredDate::invalid();
    const StoredDate date{parts->year, parts->month, parts->day};
    return date.isValid() ? date : StoredDate::invalid();
}

Biorhythm::Biorhythm(std::filesystem::path folder, StoredDate rememberedDate, const LocalClock& clock)
    : folder_(std::move(folder))
{
    view_ = storedDateOf(clock());
    birth_ = rememberedDate.isValid() ? rememberedDate : view_;
    readPersons();
    takeSelectedBirth();
    std::string bytes;
    adviceMissing_ = !readWholeFile(folder_ / kBioAdviceFileName, bytes, kMaxFileBytes);
    if (!adviceMissing_)
        chart_.setAdvice(parseBioAdvice(bytes));
}

void Biorhythm::readPersons()
{
    const std::filesystem::path path = folder_ / kBioPersonsFileName;
    std::string bytes;
    bool complete = false;
    switch (readDataFile(path, bytes, kMaxFileBytes)) {
    case DataFileRead::Missing: return;
    case DataFileRead::Read: list_ = readBioPersons(bytes, &complete); break;
    case DataFileRead::Unreadable: break;
    }
    if (complete)
        return;
    const SetAsideFile setAside = setAsideUnreadable(path);
    personsSavable_ = setAside.moved();
    personsMessage_ = setAside.message();
}

bool Biorhythm::save() const
{
    return personsSavable_ && writeFileAtomically(folder_ / kBioPersonsFileName, writeBioPersons(list_));
}

void Biorhythm::takeSelectedBirth()
{
    if (list_.selected < 0 || static_cast<std::size_t>(list_.selected) >= list_.persons.size())
        return;
    birth_ = birthDateOfText(list_.persons[static_cast<std::size_t>(list_.selected)].birth);
}

bool Biorhythm::newPerson()
{
    if (list_.persons.size() >= static_cast<std::size_t>(INT32_MAX))
        return false;
    list_.persons.push_back({std::u16string(kNewPersonName), std::u16string(kNewPersonBirth)});
    list_.selected = static_cast<std::int32_t>(list_.persons.size() - 1);
    takeSelectedBirth();
    return true;
}

bool Biorhythm::removePerson(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list_.persons.size())
        return false;
    list_.persons.erase(list_.persons.begin() + index);
    if (list_.selected >= index)
        --list_.selected;
    takeSelectedBirth();
    return true;
}

bool Biorhythm::selectPerson(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list_.persons.size())
        return false;
    list_.selected = index;
    takeSelectedBirth();
    return true;
}

bool Biorhythm::renamePerson(int index, std::u16string name)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list_.persons.size())
        return false;
    list_.persons[static_cast<std::size_t>(index)].name = std::move(name);
    return true;
}

bool Biorhythm::setBirthDate(StoredDate date)
{
    if (!date.isValid())
        return false;
    birth_ = date;
    if (list_.selected >= 0)
        list_.persons[static_cast<std::size_t>(list_.selected)].birth =
            formatDate(DateOrder::MonthFirst, {date.year, date.month, date.day});
    return true;
}

bool Biorhythm::setViewDate(StoredDate date)
{
    if (!date.isValid())
        return false;
    view_ = date;
    return true;
}

std::int64_t Biorhythm::dayCount() const
{
    if (!birth_.isValid() || !view_.isValid())
        return 0;
    const std::int64_t n =
        daysFromCivil(view_.year, view_.month, view_.day) - daysFromCivil(birth_.year, birth_.month, birth_.day);
    return std::max<std::int64_t>(n, 0);
}

void Biorhythm::refresh(std::uint32_t tickCount)
{
    chart_.draw(dayCount());
    chart_.buildReport(tickCount);
}

std::u16string Biorhythm::birthText(DateOrder order) const
{
    if (list_.selected < 0)
        return birth_.isValid() ? format(order, birth_) : std::u16string();
    const std::u16string& text = list_.persons[static_cast<std::size_t>(list_.selected)].birth;
    const std::size_t first = text.find(u'/');
    const std::size_t second = first == std::u16string::npos ? first : text.find(u'/', first + 1);
    if (second == std::u16string::npos)
        return std::u16string(kUnreadableBirthText);
    if (order == DateOrder::MonthFirst)
        return text;
    return text.substr(first + 1, second - first - 1) + u'/' + text.substr(0, first) + text.substr(second);
}

std::u16string Biorhythm::viewText(DateOrder order) const
{
    return view_.isValid() ? format(order, view_) : std::u16string();
}
