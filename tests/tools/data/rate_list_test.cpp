#include "rate_list.h"

#include <gtest/gtest.h>

#include <string>

#include "atomic_file.h"
#include "converter.h"
#include "rate_update.h"
#include "temp_folder.h"

namespace {

const std::string kTable =
    "#Date: 2026-02-17\n\n#Begin:Currency:0\n"
    "\tEuro\tEUR\t!\n"
    "\tUS_Dollar\tUSD\t0.8\t0\tEUR\n"
    "\tJapanese_Yen\tJPY\t0.00625\t0\tEUR\n"
    "#End";

struct RateFolder {
    TempFolder folder;
    std::filesystem::path file = folder.path() / "currency.dat";
    ConversionTable table;
    RateList list;
    RateFolder()
    {
        EXPECT_TRUE(writeFileAtomically(file, kTable));
        EXPECT_TRUE(table.load(file));
        list.show(file);
    }
    std::string contents() const
    {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(file, bytes));
        return bytes;
    }
};

TEST(RateList, ShowsEveryCurrencyInTableOrder)
{
    RateFolder f;
    const std::vector<RateList::Row> expected = {
        {u"EUR", u"1", u"Euro", true},
        {u"USD", u"1.25", u"US Dollar", false},
        {u"JPY", u"160", u"Japanese Yen", false},
    };
    EXPECT_EQ(f.list.rows(), expected);
    EXPECT_EQ(RateList::kSymbolColumn, u"Symbol");
    EXPECT_EQ(RateList::kRateColumn, u"Exchange Rate");
    EXPECT_EQ(RateList::kNameColumn, u"Name");
}

TEST(RateList, SavesAnEditedRateAtomicallyKeepingTheDate)
{
    RateFolder f;
    EXPECT_FALSE(f.list.editRate(0, u"2"));  // the base is 1 by definition
    EXPECT_FALSE(f.list.editRate(9, u"2"));
    ASSERT_TRUE(f.list.editRate(1, u"1.6"));
    ASSERT_TRUE(f.list.save(f.file)) << f.list.errorText();
    EXPECT_TRUE(f.list.notTaken().empty());
    EXPECT_EQ(f.contents(),
              "#Date: 2026-02-17\n\n#Begin:Currency:0\n"
              "\tEuro\tEUR\t!\n"
              "\tUS_Dollar\tUSD\t0.625\t0\tEUR\n"
              "\tJapanese_Yen\tJPY\t0.00625\t0\tEUR\n"
              "#End");
    EXPECT_EQ(f.list.rows()[1].rate, u"1.6");

    ConversionTable table;
    ASSERT_TRUE(table.load(f.file));
    const auto dollars = table.convert(u"EUR", u"USD");
    ASSERT_TRUE(dollars);
    EXPECT_DOUBLE_EQ(dollars->multiplier, 1.6);
}

TEST(RateList, TextThatIsNoRateLeavesTheCurrencyAsItWas)
{
    for (const char16_t* text : {u"0", u"-3", u"abc", u"", u"1e-300"}) {
        SCOPED_TRACE(std::string(text, text + std::char_traits<char16_t>::length(text)));
        RateFolder f;
        ASSERT_TRUE(f.list.editRate(2, text));
        ASSERT_TRUE(f.list.save(f.file));
        EXPECT_EQ(f.list.notTaken(), std::vector<std::u16string>{u"JPY"});
        EXPECT_EQ(f.contents(), kTable);
        EXPECT_EQ(f.list.rows()[2].rate, u"160");
    }
}

TEST(RateList, ShowRatesDropsEditsAndSaveNeverWritesAnUnreadableFile)
{
    RateFolder f;
    ASSERT_TRUE(f.list.editRate(1, u"3"));
    f.list.show(f.file);
    EXPECT_EQ(f.list.rows()[1].rate, u"1.25");

    // A rate so large that its factor is below any currency's is not taken.
    ASSERT_TRUE(f.list.editRate(1, u"1e16"));
    EXPECT_TRUE(f.list.save(f.file));
    EXPECT_EQ(f.list.notTaken(), std::vector<std::u16string>{u"USD"});
    EXPECT_EQ(f.contents(), kTable);
}

TEST(ConverterAfterUpdate, ChosenPairStaysAndConvertsAtTheNewRates)
{
    TempFolder folder;
    const auto file = folder.path() / "currency.dat";
    ASSERT_TRUE(writeFileAtomically(file, kTable));
    Converter converter(folder.path());
    converter.setStateFolder({});
    converter.showPage(Converter::Page::Currency);
    ASSERT_TRUE(converter.pickUnit(Converter::ValueField::Upper, 2));  // JPY
    ASSERT_TRUE(converter.pickUnit(Converter::ValueField::Lower, 1));  // USD
    for (const char16_t key : std::u16string_view(u"100"))
        converter.handleKey(key);
    EXPECT_EQ(converter.currency().lower.value, u"0.78125");

    converter.beginUpdate();
    EXPECT_EQ(converter.currency().top.value, u"Updating ...");
    // New rates with the currencies in another order.
    ASSERT_TRUE(writeFileAtomically(file,
                                    "#Date: 2026-02-18\n\n#Begin:Currency:0\n\tEuro\tEUR\t!\n"
                                    "\tJapanese_Yen\tJPY\t0.00500000000\t0\tEUR\n"
                                    "\tUS_Dollar\tUSD\t0.50000000000\t0\tEUR\n#End"));
    converter.finishUpdate(true);
    const Converter::ConvertPage& page = converter.currency();
    EXPECT_EQ(page.top.value, u"2026-02-18");
    EXPECT_EQ(page.upper.caption, u"JPY");
    EXPECT_EQ(page.lower.caption, u"USD");
    EXPECT_EQ(page.upperIndex, 1);
    EXPECT_EQ(page.lowerIndex, 2);
    EXPECT_EQ(page.upper.value, u"100");
    EXPECT_EQ(page.lower.value, u"1");

    // A failed update changes nothing but the date field, which shows the file's date again.
    converter.beginUpdate();
    converter.finishUpdate(false);
    EXPECT_EQ(converter.currency().top.value, u"2026-02-18");
    EXPECT_EQ(converter.currency().lower.value, u"1");
}

}  // namespace
