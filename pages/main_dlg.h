// Page one: a red cube and four cyan stars spinning at one common rate while
// the eye orbits the vertical axis, looking at the origin.
#pragma once

#include "geometry/cube.h"
#include "geometry/star.h"
#include "pages/scene_page.h"

class CMainDlg : public CScenePage<CMainDlg> {
  public:
    enum { IDD = IDD_MAINDLG };

    void InitControls();
    void SetupScene();
    void RedrawScene();
    void UpdateStatus();

    CGridTmpl<double> m_eyeBase;  // eye before the orbit turn
    CGridTmpl<double> m_eye;
    CGridTmpl<double> m_lookAt;
    CCube m_cube[5];              // only cube 0 takes part
    CStar m_star[5];              // stars 0 to 3 take part
    CGridTmpl<double> m_rotRate;  // radians per tick about x, y, z, common to all models
    double m_orbitRate = 0.0;     // radians per tick taken off m_orbitAngle
    double m_rateStep = 0.0;      // radians per tick per click of a rate button
    double m_orbitAngle = 0.0;    // never wrapped
    CModelBase* m_animated[kMaxSceneModels] = {};
    int m_animatedCount = 0;
    CModelBase* m_drawn[kMaxSceneModels] = {};
    int m_drawnCount = 0;

  private:
    friend class CScenePage<CMainDlg>;

    LRESULT OnTimer();
    bool OnCommand(WORD id);
    void OnRandom();
    void OnRateButton(WORD id);
};
