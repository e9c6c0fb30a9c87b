#include "gui/place_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

#include "host/ui/qt_text.h"

namespace gui {
namespace {

constexpr const char16_t* kOtherPlace = u"任意の地点";

QDoubleSpinBox* Field(double low, double high, int decimals, double value) {
    auto* box = new QDoubleSpinBox;
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setValue(value);
    return box;
}

}  // namespace

CPlaceDialog::CPlaceDialog(QWidget* parent, const ObserverPlace& place) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("観測地"));
    m_city = new QComboBox;
    for (const ObserverPlace& city : JapaneseCities())
        m_city->addItem(host::ui::ToQString(city.name));
    m_city->addItem(host::ui::ToQString(kOtherPlace));
    m_latitude = Field(-90.0, 90.0, 4, place.latitude_deg);
    m_longitude = Field(-180.0, 360.0, 4, place.longitude_deg);
    m_height = Field(-12000.0, 100000.0, 0, place.height_m);
    m_timezone = Field(-14.0, 14.0, 2, place.timezone_h);
    int chosen = static_cast<int>(JapaneseCities().size());
    for (size_t i = 0; i < JapaneseCities().size(); ++i) {
        if (JapaneseCities()[i].name == place.name) chosen = static_cast<int>(i);
    }
    m_city->setCurrentIndex(chosen);

    auto* form = new QFormLayout(this);
    form->addRow(QString::fromUtf8("都市"), m_city);
    form->addRow(QString::fromUtf8("緯度 (北が正)"), m_latitude);
    form->addRow(QString::fromUtf8("経度 (東が正)"), m_longitude);
    form->addRow(QString::fromUtf8("標高 (m)"), m_height);
    form->addRow(QString::fromUtf8("時差 (時間)"), m_timezone);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_city, &QComboBox::activated, this, [this](int index) { ChooseCity(index); });
    // Editing a number makes the place a place of its own.
    for (QDoubleSpinBox* box : {m_latitude, m_longitude, m_height, m_timezone}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            if (!m_filling) m_city->setCurrentIndex(static_cast<int>(JapaneseCities().size()));
        });
    }
}

void CPlaceDialog::ChooseCity(int index) {
    if (index < 0 || index >= static_cast<int>(JapaneseCities().size())) return;
    const ObserverPlace& city = JapaneseCities()[index];
    m_filling = true;
    m_latitude->setValue(city.latitude_deg);
    m_longitude->setValue(city.longitude_deg);
    m_height->setValue(city.height_m);
    m_timezone->setValue(city.timezone_h);
    m_filling = false;
    m_city->setCurrentIndex(index);
}

ObserverPlace CPlaceDialog::Place() const {
    ObserverPlace place;
    const int index = m_city->currentIndex();
    place.name = index >= 0 && index < static_cast<int>(JapaneseCities().size())
                     ? JapaneseCities()[index].name
                     : CString(kOtherPlace);
    place.latitude_deg = m_latitude->value();
    place.longitude_deg = m_longitude->value();
    place.height_m = m_height->value();
    place.timezone_h = m_timezone->value();
    return place;
}

}  // namespace gui
