"""The stack theory on its own, against closed forms: Fresnel, quarter- and half-wave
layers, and R + T = 1 without loss."""

import numpy as np
import pytest

import fdtdlab

C0 = 299792458.0


def test_a_bare_half_space_reflects_as_fresnel_says():
    result = fdtdlab.stack_reflection([], 1e9, exit_eps_r=4.0)
    assert result["R"] == pytest.approx(((1 - 2) / (1 + 2)) ** 2)
    assert result["T"] == pytest.approx(1 - 1 / 9)


@pytest.mark.parametrize("eps_r", [2.25, 4.0, 9.0])
def test_quarter_and_half_wave_layers(eps_r):
    n, f = np.sqrt(eps_r), 10e9
    quarter = C0 / f / n / 4
    r_quarter = ((n * n - 1) / (n * n + 1)) ** 2
    assert fdtdlab.stack_reflection([fdtdlab.OpticalLayer(eps_r, quarter)], f)["R"] == \
        pytest.approx(r_quarter)
    assert fdtdlab.stack_reflection([fdtdlab.OpticalLayer(eps_r, 2 * quarter)], f)["R"] == \
        pytest.approx(0.0, abs=1e-20)


def test_lossless_stacks_conserve_energy_and_keep_the_array_shape():
    layers = [fdtdlab.OpticalLayer(4.0, 3e-3), fdtdlab.OpticalLayer(2.0, 1e-3, mu_r=1.5)]
    f = np.linspace(1e9, 50e9, 12).reshape(3, 4)
    result = fdtdlab.stack_reflection(layers, f)
    assert result["R"].shape == (3, 4)
    np.testing.assert_allclose(result["R"] + result["T"], 1.0, atol=1e-12)


def test_a_lossy_layer_absorbs():
    lossy = fdtdlab.OpticalLayer(4.0 - 2.0j, 3e-3)
    result = fdtdlab.stack_reflection([lossy], 10e9)
    assert result["R"] + result["T"] < 0.9
