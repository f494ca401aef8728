#pragma once

#include <string>
#include <string_view>
#include <vector>

// The European Central Bank's daily euro reference rates (eurofxref-daily.xml): one date and
// about thirty currencies, each as the units of it that one euro buys:
//
//   <gesmes:Envelope ...><Cube><Cube time='2025-01-02'>
//     <Cube currency='USD' rate='1.0321'/> ...
//   </Cube></Cube></gesmes:Envelope>
//
// The reader takes exactly that shape and nothing looser: a document that ends before its root
// element closes was cut short, and every rate must be a positive number.
class EcbRates {
public:
    static constexpr std::u16string_view kBaseSymbol = u"EUR";
    static constexpr std::u16string_view kBaseName = u"Euro";

    struct Rate {
        std::string code;  // three capital letters
        double perEuro = 0.0;
    };

    // True when the answer is an XML document of the ECB's shape rather than a currency table.
    static bool looksLike(std::string_view answer);

    // Reads the document; false with the update's error class and text when it is refused.
    bool parse(std::string_view xml, int& errorClass, std::string& errorText);

    const std::string& date() const { return date_; }
    const std::vector<Rate>& rates() const { return rates_; }

    // The English name of a currency code the ECB publishes, or the code itself.
    static std::u16string currencyName(std::string_view code);

private:
    std::string date_;
    std::vector<Rate> rates_;
};
