// The place dialog: a city of the list or any latitude, longitude, height
// and time zone.
#pragma once

#include <QDialog>

#include "gui/place.h"

class QComboBox;
class QDoubleSpinBox;

namespace gui {

class CPlaceDialog : public QDialog {
  public:
    CPlaceDialog(QWidget* parent, const ObserverPlace& place);
    // The place the fields show.
    ObserverPlace Place() const;
    // Fills the fields from the city at `index` of JapaneseCities().
    void ChooseCity(int index);

  private:
    QComboBox* m_city = nullptr;
    QDoubleSpinBox* m_latitude = nullptr;
    QDoubleSpinBox* m_longitude = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QDoubleSpinBox* m_timezone = nullptr;
    bool m_filling = false;
};

}  // namespace gui
