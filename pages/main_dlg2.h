// Page two: five cubes and five stars bouncing and spinning inside the unit
// box, with a green line grid on five of its walls; the eye moves and turns
// with the buttons.
#pragma once

#include "geometry/cube.h"
#include "geometry/line.h"
#include "geometry/star.h"
#include "pages/scene_page.h"

class CMainDlg2 : public CScenePage<CMainDlg2> {
  public:
    enum { IDD = IDD_MAINDLG2 };
    static constexpr int kMoving = 10;  // five cubes, then five stars

    void InitControls();
    void SetupScene();
    void RedrawScene();
    void UpdateStatus();

    CGridTmpl<double> m_eye;
    CGridTmpl<double> m_lookAt;
    CLine m_line;  // the grid: drawn, never moved or turned
    CCube m_cube[5];
    CStar m_star[5];
    CGridTmpl<double> m_rotRate;             // shown in the hidden third line; stays zero here
    double m_eyeStep = 0.0;                  // eye move per click
    double m_turnStep = 0.0;                 // eye turn per click, radians
    CGridTmpl<double> m_velocity[kMoving];   // per tick, entry i for m_animated[i]
    CGridTmpl<double> m_modelRate[kMoving];  // radians per tick, entry i for m_animated[i]
    CModelBase* m_animated[kMaxSceneModels] = {};
    int m_animatedCount = 0;
    CModelBase* m_drawn[kMaxSceneModels] = {};
    int m_drawnCount = 0;

  private:
    friend class CScenePage<CMainDlg2>;

    LRESULT OnTimer();
    bool OnCommand(WORD id);
    void ListModels(const CGridTmpl<double>& screen);
    void OnStart();
    void TurnEye(double angle);
};
