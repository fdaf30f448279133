#include "Comparison.h"

#include <cmath>

double RelativeDifference(double a, double b)
{
    if (a == b || (std::isnan(a) && std::isnan(b))) return 0.0;
    double scale = std::fmax(std::fabs(a), std::fabs(b));
    double difference = std::fabs(a - b) / scale;
    return std::isnan(difference) ? HUGE_VAL : difference;
}

void Comparison::Add(const std::wstring &quantity, const std::wstring &element, Cell direct, Cell bridged,
                     Cell difference, bool same, const std::string &result, const std::wstring &detail)
{
    ++compared_;
    if (!same) ++differences_;
    table_.AddRow({Cell::Text(quantity), Cell::Text(element), std::move(direct), std::move(bridged),
                   std::move(difference), Cell::Text(result), Cell::Text(detail)});
}

void Comparison::Numbers(const std::wstring &quantity, const std::vector<std::wstring> &elements,
                         const std::vector<double> &direct, const std::vector<double> &bridged,
                         const std::wstring &detail)
{
    if (direct.size() != bridged.size()) {
        Add(quantity, L"", Cell::Text(std::to_wstring(direct.size()) + L" values"),
            Cell::Text(std::to_wstring(bridged.size()) + L" values"), Cell(), false, "differs", detail);
        return;
    }
    size_t worst = 0;
    double difference = 0.0;
    for (size_t i = 0; i < direct.size(); ++i) {
        double d = RelativeDifference(direct[i], bridged[i]);
        if (d > difference) {
            difference = d;
            worst = i;
        }
    }
    if (difference > largest_) {
        largest_ = difference;
        largestQuantity_ = quantity;
    }
    bool same = difference <= tolerance_;
    std::wstring element = worst < elements.size() && direct.size() > 1 ? elements[worst] : L"";
    if (direct.empty())
        Add(quantity, element, Cell::Text("none"), Cell::Text("none"), Cell::Number(0.0), true, "same", detail);
    else
        Add(quantity, element, Cell::Number(direct[worst]), Cell::Number(bridged[worst]), Cell::Number(difference),
            same, same ? "same" : "differs", detail);
}

void Comparison::Texts(const std::wstring &quantity, const std::vector<std::wstring> &elements,
                       const std::vector<std::wstring> &direct, const std::vector<std::wstring> &bridged)
{
    size_t first = 0;
    while (first < direct.size() && first < bridged.size() && direct[first] == bridged[first]) ++first;
    bool same = direct.size() == bridged.size() && first == direct.size();
    if (same) first = 0;
    auto at = [](const std::vector<std::wstring> &list, size_t i) { return i < list.size() ? list[i] : L"(none)"; };
    std::wstring element = first < elements.size() && direct.size() > 1 ? elements[first] : L"";
    if (direct.empty() && bridged.empty())
        Add(quantity, element, Cell::Text("none"), Cell::Text("none"), Cell(), true, "same");
    else
        Add(quantity, element, Cell::Text(at(direct, first)), Cell::Text(at(bridged, first)), Cell(), same,
            same ? "same" : "differs");
}

bool Comparison::Outcome(const std::wstring &quantity, bool directOk, const std::wstring &directFailure,
                         bool bridgedOk, const std::wstring &bridgedFailure)
{
    if (directOk && bridgedOk) return true;
    std::wstring detail;
    if (!directOk) detail = L"directly: " + directFailure;
    if (!bridgedOk) detail += (detail.empty() ? L"" : L"; ") + (L"via bridge: " + bridgedFailure);
    Cell direct = Cell::Text(directOk ? "calculated" : "failed");
    Cell bridged = Cell::Text(bridgedOk ? "calculated" : "failed");
    if (!directOk && !bridgedOk)
        Add(quantity, L"", direct, bridged, Cell(), true, "refused by both", detail);
    else
        Add(quantity, L"", direct, bridged, Cell(), false, directOk ? "fails via bridge" : "fails directly", detail);
    return false;
}

void Comparison::Skip(const std::wstring &quantity, const std::wstring &reason)
{
    table_.AddRow({Cell::Text(quantity), Cell(), Cell(), Cell(), Cell(), Cell::Text("skipped"), Cell::Text(reason)});
}
