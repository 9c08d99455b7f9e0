#include "pages/main_dlg.h"

#include <cassert>
#include <cmath>

#include "platform/crt_random.h"

namespace {

// A random rate component: 0 to 12 degrees per tick in 32768 equal steps.
double RandomRate() {
    return CrtRand() / static_cast<double>(CRT_RAND_MAX) * 24.0 * 0.5 * kDegree;
}
}  // namespace

bool CMainDlg::OnCommand(WORD id) {
    switch (id) {
        case IDC_RANDOM:
            OnRandom();
            break;
        case IDC_EYE_LEFT:
            m_orbitRate += kDegree;
            break;
        case IDC_EYE_RIGHT:
            m_orbitRate -= kDegree;
            break;
        case IDC_EYE_STOP:
            m_orbitRate = 0.0;
            break;
        case IDC_RATE_X_UP:
        case IDC_RATE_X_DOWN:
        case IDC_RATE_Y_UP:
        case IDC_RATE_Y_DOWN:
        case IDC_RATE_Z_UP:
        case IDC_RATE_Z_DOWN:
            OnRateButton(id);
            break;
        case IDC_RATE_X_STOP:
            m_rotRate.x = 0.0;
            break;
        case IDC_RATE_Y_STOP:
            m_rotRate.y = 0.0;
            break;
        case IDC_RATE_Z_STOP:
            m_rotRate.z = 0.0;
            break;
        default:
            return false;
    }
    return true;
}

void CMainDlg::InitControls() {
    InitCommonControls(L"視点座標", L"モデル回転率", [this] {
        for (int id : {IDC_EYE_STOP, IDC_RATE_X_STOP, IDC_RATE_Y_STOP, IDC_RATE_Z_STOP}) {
            ::SetWindowTextW(GetDlgItem(id), L"停止");
        }
    });
}

void CMainDlg::SetupScene() {
    const CGridTmpl<double> screen = ViewSize();
    m_orbitRate = 0.0;
    m_rateStep = kDegree;
    m_orbitAngle = 0.0;

    CModelBase* const models[] = {&m_cube[0], &m_star[0], &m_star[1], &m_star[2], &m_star[3]};
    m_drawnCount = 0;
    m_animatedCount = 0;
    for (CModelBase* model : models) {
        m_drawn[m_drawnCount++] = model;
        model->m_screenSize.x = screen.x;
        model->m_screenSize.y = screen.y;
    }
    for (CModelBase* model : models) {
        m_animated[m_animatedCount++] = model;
    }

    m_eyeBase = CGridTmpl<double>(0.0, 0.1, -0.5);
    m_eye = m_eyeBase;
    m_lookAt = CGridTmpl<double>(0.0, 0.0, 0.0);

    CModelParam param{};
    param.sizeX[0] = 0.05;
    param.sizeY[0] = 0.05;
    param.sizeZ[0] = 0.05;
    PlaceModel(m_cube[0], param, CGridTmpl<double>(0.0, 0.0, 0.0), m_lookAt, m_eye);

    param.radius = 0.05;
    param.depth = 0.025;
    const CGridTmpl<double> starPositions[4] = {
        {-0.2, 0.0, -0.2}, {0.2, 0.0, -0.2}, {0.2, 0.0, 0.2}, {-0.2, 0.0, 0.2}};
    for (int k = 0; k < 4; ++k) {
        PlaceModel(m_star[k], param, starPositions[k], m_lookAt, m_eye);
    }
}

LRESULT CMainDlg::OnTimer() {
    for (int i = 0; i < m_animatedCount; ++i) {
        m_animated[i]->Rotate(m_rotRate.x, m_rotRate.y, m_rotRate.z, 1.0);
    }
    RedrawScene();
    return 0;
}

void CMainDlg::RedrawScene() {
    m_orbitAngle -= m_orbitRate;
    const double s = std::sin(m_orbitAngle);
    const double c = std::cos(m_orbitAngle);
    m_eye = CGridTmpl<double>(m_eyeBase.x * c + m_eyeBase.z * s, m_eyeBase.y,
                              m_eyeBase.z * c - m_eyeBase.x * s);
    RedrawModels(m_drawn, m_drawnCount, m_lookAt, m_eye);
    UpdateStatusIfShown();
    RequestRepaint();
}

void CMainDlg::UpdateStatus() {
    CScenePage::UpdateStatus(m_eye, m_lookAt, m_rotRate);
}

void CMainDlg::OnRandom() {
    m_rotRate.x = RandomRate();
    m_rotRate.y = RandomRate();
    m_rotRate.z = RandomRate();
}

void CMainDlg::OnRateButton(WORD id) {
    switch (id) {
        case IDC_RATE_X_UP:
            m_rotRate.x += m_rateStep;
            break;
        case IDC_RATE_X_DOWN:
            m_rotRate.x -= m_rateStep;
            break;
        case IDC_RATE_Y_UP:
            m_rotRate.y += m_rateStep;
            break;
        case IDC_RATE_Y_DOWN:
            m_rotRate.y -= m_rateStep;
            break;
        case IDC_RATE_Z_UP:
            m_rotRate.z += m_rateStep;
            break;
        default:
            assert(id == IDC_RATE_Z_DOWN);  // OnCommand passes the six rate buttons only
            m_rotRate.z -= m_rateStep;
            break;
    }
    // The cube turns at once by the whole new rate, one step ahead of the stars.
    m_cube[0].Rotate(m_rotRate.x, m_rotRate.y, m_rotRate.z, 1.0);
}
