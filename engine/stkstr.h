// Value classes that take engine replies and object identifiers apart.
//
//   CStkStr       one reply value with typed readers
//   CLumProperty  a text split into at most ten parameters, either dotted
//                 ("Solar.Planet.Earth") or in call form ("Head(a, \"b\", (c,d))")
//   CStkString    a text that splits itself into a CLumProperty on first use
//                 of an accessor whose name ends in P
//
// Every comparison ignores case; every reader has a neutral answer for an
// empty text, a "*" (no value) or a parameter index of 10 or more.
#pragma once

#include "host/cstring.h"

// One row of a keyword table; a table ends with a row whose name is null.
struct tagNAMETABLE {
    const char16_t* name;
    int value;
};

class CStkStr {
  public:
    CStkStr() = default;
    CStkStr(const CString& text) : m_str(text) {}
    CStkStr(const char16_t* text) : m_str(text) {}
    virtual ~CStkStr() = default;
    CStkStr(const CStkStr&) = default;
    // Goes through SetText so that a derived value caching a parse of its
    // text (CStkString) sees the new text even when assigned as a CStkStr.
    CStkStr& operator=(const CStkStr& other) {
        SetText(other.m_str);
        return *this;
    }

    virtual void SetText(const CString& text) { m_str = text; }
    const CString& GetText() const { return m_str; }
    operator const CString&() const { return m_str; }

    // The caller's default for an empty text or exactly "*"; otherwise the
    // leading number (0 when the text does not begin with one).
    int atoi(int def = 0) const;
    double atof(double def = 0.0) const;
    // atoi and atof of a text without copying it into a CStkStr.
    static int ToInt(const CString& text, int def = 0);
    static double ToDouble(const CString& text, double def = 0.0);
    // First character is a digit, "+" or "-".
    int IsNum() const;
    int IsTrue() const;   // "TRUE", "ON" or "1"
    int IsFalse() const;  // "FALSE", "OFF" or "0"
    int Bool() const { return IsTrue(); }
    int IsBool() const { return IsTrue() || IsFalse(); }
    int Same(const char16_t* s) const;
    int IsInclude(const CString& s) const;
    // "#n" gives n; anything else -1.
    int Channel() const;
    // SOLID 0, DASH 1, DOT 2, DASHDOT 3, DASHDOTDOT 4, otherwise -1.
    int LineStyle() const;
    int IsLineStyle() const { return LineStyle() >= 0; }
    // A rotation rate in degrees per second from a number with the unit
    // DPS, DPM (degrees per minute) or RPM (revolutions per minute).
    double DPS() const;
    // Astronomical year number: "B.C."/"BC" years n give 1 - n.
    int Year(int def) const;
    // Looks the text's head (up to its first "(") up in the table.
    int TableSearch(const tagNAMETABLE table[], int* value) const;
    // Replaces the text by the name of the first row holding `value`.
    int TableValueSearch(const tagNAMETABLE table[], int value);

  protected:
    CString m_str;
};

class CLumProperty {
  public:
    static constexpr int kMaxParam = 10;

    CLumProperty() = default;
    explicit CLumProperty(const CString& text) { Set(text); }
    virtual ~CLumProperty() = default;

    void Set(const CString& text);

    CStkStr GetParam(int i) const { return Valid(i) ? m_param[i] : CStkStr(); }
    int IsEmpty(int i) const { return Valid(i) && m_param[i].GetText().IsEmpty(); }
    char16_t GetAt(int i, int k) const;
    CString Mid(int i, int first) const;
    void Shift(int n);

    int atoi(int i, int def = 0) const { return Valid(i) ? m_param[i].atoi(def) : def; }
    double atof(int i, double def = 0.0) const { return Valid(i) ? m_param[i].atof(def) : def; }
    int IsNum(int i) const { return Valid(i) && m_param[i].IsNum(); }
    int IsTrue(int i) const { return Valid(i) && m_param[i].IsTrue(); }
    int IsFalse(int i) const { return Valid(i) && m_param[i].IsFalse(); }
    int Same(int i, const char16_t* s) const { return Valid(i) && m_param[i].Same(s); }
    int IsInclude(int i, const CString& s) const { return Valid(i) && m_param[i].IsInclude(s); }
    int Channel(int i) const { return Valid(i) ? m_param[i].Channel() : -1; }
    int Year(int i, int def) const { return Valid(i) ? m_param[i].Year(def) : def; }
    int TableSearch(int i, const tagNAMETABLE table[], int* value) const {
        return Valid(i) && m_param[i].TableSearch(table, value);
    }
    int TableValueSearch(int i, const tagNAMETABLE table[], int value) {
        return Valid(i) && m_param[i].TableValueSearch(table, value);
    }

  private:
    static bool Valid(int i) { return i >= 0 && i < kMaxParam; }
    CStkStr m_param[kMaxParam];
};

class CStkString : public CStkStr {
  public:
    CStkString() = default;
    CStkString(const CString& text) : CStkStr(text) {}
    CStkString(const char16_t* text) : CStkStr(text) {}
    CStkString(const CStkString&) = default;
    CStkString& operator=(const CStkString&) = default;
    CStkString& operator=(const CString& text) {
        SetText(text);
        return *this;
    }
    CStkString& operator=(const char16_t* text) {
        SetText(CString(text));
        return *this;
    }

    // New text always returns the value to the unparsed state.
    void SetText(const CString& text) override {
        m_str = text;
        m_parsed = 0;
    }
    int IsParsed() const { return m_parsed != 0; }

    int atoiP(int i, int def = 0) { return Property().atoi(i, def); }
    double atofP(int i, double def = 0.0) { return Property().atof(i, def); }
    int IsNumP(int i) { return Property().IsNum(i); }
    int IsTrueP(int i) { return Property().IsTrue(i); }
    int IsFalseP(int i) { return Property().IsFalse(i); }
    int SameP(int i, const char16_t* s) { return Property().Same(i, s); }
    int IsIncludeP(int i, const CString& s) { return Property().IsInclude(i, s); }
    int ChannelP(int i) { return Property().Channel(i); }
    int YearP(int i, int def) { return Property().Year(i, def); }
    int TableSearchP(int i, const tagNAMETABLE table[], int* value) {
        return Property().TableSearch(i, table, value);
    }
    int TableValueSearchP(int i, const tagNAMETABLE table[], int value) {
        return Property().TableValueSearch(i, table, value);
    }
    CStkStr GetParamP(int i) { return Property().GetParam(i); }
    int IsEmptyP(int i) { return Property().IsEmpty(i); }
    char16_t GetAtP(int i, int k) { return Property().GetAt(i, k); }
    CString MidP(int i, int first) { return Property().Mid(i, first); }
    // Moves the parsed parameters; the text stays as it is.
    void ShiftP(int n) { Property().Shift(n); }
    int GetMaxParamP() const { return CLumProperty::kMaxParam; }

  protected:
    CLumProperty& Property();

  private:
    int m_parsed = 0;
    CLumProperty m_prop;
};
