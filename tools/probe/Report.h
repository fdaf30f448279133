// What a command prints, kept apart from how: a list of titled tables,
// rendered as aligned text for people or as JSON for scripts.
#pragma once

#include <string>
#include <vector>

struct Cell {
    std::string text;  // UTF-8, as shown in a text table
    bool numeric = false;
    double number = 0.0;

    static Cell Text(const std::string &text);
    static Cell Text(const std::wstring &text);
    static Cell Number(double value);
};

struct Table {
    std::string title;
    std::vector<std::string> columns;
    std::vector<std::vector<Cell>> rows;
    // Printed as text without title, header or indent: one line per row.
    bool bare = false;

    Table(std::string title, std::vector<std::string> columns);
    // A row has one cell per column; missing cells print empty.
    void AddRow(std::vector<Cell> cells);
};

struct Report {
    std::vector<Table> tables;

    Table &AddTable(std::string title, std::vector<std::string> columns);
};

// Aligned columns under a title line; numbers right-aligned.
std::string RenderText(const Report &report);
// {"tables":[{"title":..,"columns":[..],"rows":[{"column":value,..},..]},..]}
std::string RenderJson(const Report &report);
// A JSON string literal (quotes included) of UTF-8 text.
std::string JsonString(const std::string &text);
