#include "Report.h"

#include <algorithm>
#include <cstdio>

#include "Text.h"

Cell Cell::Text(const std::string &text)
{
    Cell cell;
    cell.text = text;
    return cell;
}

Cell Cell::Text(const std::wstring &text)
{
    return Text(ToUtf8(text));
}

Cell Cell::Number(double value)
{
    Cell cell;
    cell.text = FormatNumber(value);
    cell.numeric = true;
    cell.number = value;
    return cell;
}

Table::Table(std::string title, std::vector<std::string> columns)
    : title(std::move(title)), columns(std::move(columns))
{
}

void Table::AddRow(std::vector<Cell> cells)
{
    cells.resize(columns.size());
    rows.push_back(std::move(cells));
}

Table &Report::AddTable(std::string title, std::vector<std::string> columns)
{
    tables.emplace_back(std::move(title), std::move(columns));
    return tables.back();
}

namespace {

// Display width of UTF-8 text: one column per code point.
size_t DisplayWidth(const std::string &text)
{
    size_t width = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++width;
    return width;
}

void Pad(std::string &out, size_t count)
{
    out.append(count, ' ');
}

}  // namespace

std::string RenderText(const Report &report)
{
    std::string out;
    for (const Table &table : report.tables) {
        if (table.bare) {
            for (const auto &row : table.rows) {
                std::string text;
                for (const Cell &cell : row) {
                    if (!text.empty()) text += "  ";
                    text += cell.text;
                }
                out += text + '\n';
            }
            continue;
        }
        if (!out.empty()) out += '\n';
        out += table.title;
        out += '\n';
        std::vector<size_t> widths(table.columns.size());
        for (size_t c = 0; c < table.columns.size(); ++c) widths[c] = DisplayWidth(table.columns[c]);
        for (const auto &row : table.rows)
            for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c].text));
        auto line = [&](const std::vector<std::string> &texts, const std::vector<bool> &right) {
            std::string text;
            for (size_t c = 0; c < texts.size(); ++c) {
                size_t gap = widths[c] - DisplayWidth(texts[c]);
                bool last = c + 1 == texts.size();
                if (right[c]) Pad(text, gap);
                text += texts[c];
                if (!right[c] && !last) Pad(text, gap);
                if (!last) text += "  ";
            }
            while (!text.empty() && text.back() == ' ') text.pop_back();
            out += "  " + text + '\n';
        };
        std::vector<bool> left(table.columns.size(), false);
        line(table.columns, left);
        std::vector<std::string> rules;
        for (size_t width : widths) rules.push_back(std::string(width, '-'));
        line(rules, left);
        for (const auto &row : table.rows) {
            std::vector<std::string> texts;
            std::vector<bool> right;
            for (const Cell &cell : row) {
                texts.push_back(cell.text);
                right.push_back(cell.numeric);
            }
            line(texts, right);
        }
    }
    return out;
}

std::string JsonString(const std::string &text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string RenderJson(const Report &report)
{
    std::string out = "{\"tables\":[";
    for (size_t t = 0; t < report.tables.size(); ++t) {
        const Table &table = report.tables[t];
        if (t) out += ',';
        out += "\n {\"title\":" + JsonString(table.title) + ",\"columns\":[";
        for (size_t c = 0; c < table.columns.size(); ++c) {
            if (c) out += ',';
            out += JsonString(table.columns[c]);
        }
        out += "],\"rows\":[";
        for (size_t r = 0; r < table.rows.size(); ++r) {
            if (r) out += ',';
            out += "\n  {";
            for (size_t c = 0; c < table.columns.size(); ++c) {
                if (c) out += ',';
                const Cell &cell = table.rows[r][c];
                out += JsonString(table.columns[c]) + ':';
                out += cell.numeric ? FormatNumberExact(cell.number) : JsonString(cell.text);
            }
            out += '}';
        }
        out += "]}";
    }
    return out + "\n]}\n";
}
